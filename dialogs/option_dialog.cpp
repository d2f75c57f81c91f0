#include "dialogs/option_dialog.h"

#include "engine/options.h"

namespace quellon {

namespace {

ImageButton* optionButton(QWidget* parent, const char* name, const QString& face, QPoint at)
{
    auto* button = new ImageButton(parent, face + QStringLiteral("-normal.svg"), face + QStringLiteral("-hover.svg"),
                                   QSize(50, 50));
    button->setObjectName(QString::fromLatin1(name));
    button->move(at);
    return button;
}

QLabel* optionLabel(QWidget* parent, const char* name, QPoint at)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(at.x(), at.y(), 369 - 8 - at.x(), 20);
    styleWhiteLabel(label, 16, false);
    return label;
}

QString qt(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

TOptionDlg::TOptionDlg(const SettingsValues& settings, OptionEffects& effects, QWidget* parent)
    : FramelessDialog(parent, kClientSize),
      settings_(settings),
      effects_(effects),
      titleColumn_(addTitleColumn(background(), true, kClientSize.height() - 12)),
      p7(new TexturedPanel(background(), art::kContentTexture))
{
    setObjectName(QStringLiteral("OptionDlg"));
    setPlaceOnlyOverVisibleMain(true);
    p7->setObjectName(QStringLiteral("p7"));
    p7->setGeometry(116, 12, 369, 333);
    OptLabel = new QLabel(p7);
    OptLabel->setObjectName(QStringLiteral("OptLabel"));
    OptLabel->setGeometry(19, 12, 254, 29);
    styleWhiteLabel(OptLabel, 21, true);
    TongueBtn = optionButton(p7, "TongueBtn", QStringLiteral("option-language"), {16, 47});
    TongueLabel = optionLabel(p7, "TongueLabel", {76, 64});
    SoundBtn = optionButton(p7, "SoundBtn", QStringLiteral("option-sound"), {16, 103});
    SoundLabel = optionLabel(p7, "SoundLabel", {76, 120});
    MusicBtn = optionButton(p7, "MusicBtn", QStringLiteral("option-music"), {16, 159});
    MusicBtn->setDisabledFace(QStringLiteral("option-music-disabled.svg"));
    MusicLabel = optionLabel(p7, "MusicLabel", {76, 176});
    BackBtn = optionButton(p7, "BackBtn", QStringLiteral("option-background"), {16, 215});
    BackLabel = optionLabel(p7, "BackLabel", {79, 232});
    PatBtn = optionButton(p7, "PatBtn", QStringLiteral("option-pattern"), {16, 271});
    PatLabel = optionLabel(p7, "PatLabel", {79, 284});
    OKBtn = new ImageButton(background(), art::kTickFace, art::kTickFaceOver, QSize(50, 50));
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->move(436, 355);
    connect(TongueBtn, &QAbstractButton::clicked, this, [this] { TongueBtnClick(); });
    connect(SoundBtn, &QAbstractButton::clicked, this, [this] { SoundBtnClick(); });
    connect(MusicBtn, &QAbstractButton::clicked, this, [this] { MusicBtnClick(); });
    connect(BackBtn, &QAbstractButton::clicked, this, [this] { BackBtnClick(); });
    connect(PatBtn, &QAbstractButton::clicked, this, [this] { PatBtnClick(); });
    connect(OKBtn, &QAbstractButton::clicked, this, [this] { exitClick(); });
    updateOptionTexts();
}

QLabel* TOptionDlg::label(const QString& name) const
{
    return p7->findChild<QLabel*>(name, Qt::FindDirectChildrenOnly);
}

void TOptionDlg::updateOptionTexts()
{
    titleColumn_.setProgramTexts();
    const bool musicFound = effects_.musicFound();
    // Without music there is nothing the button could switch.
    MusicBtn->setEnabled(musicFound);
    const std::string musicFileName = effects_.musicFileName().toStdString();
    const OptionTexts texts = optionTexts(settings_, musicFound, musicFileName);
    OKBtn->setToolTip(qt(texts.okHint));
    setFittedText(OptLabel, qt(texts.heading));
    TongueBtn->setToolTip(qt(texts.languageHint));
    setFittedText(TongueLabel, qt(texts.languageLabel));
    SoundBtn->setToolTip(qt(texts.soundHint));
    setFittedText(SoundLabel, qt(texts.soundLabel));
    MusicBtn->setToolTip(qt(texts.musicHint));
    setFittedText(MusicLabel, qt(texts.musicLabel));
    BackBtn->setToolTip(qt(texts.backgroundHint));
    setFittedText(BackLabel, qt(texts.backgroundLabel));
    PatBtn->setToolTip(qt(texts.patternHint));
    setFittedText(PatLabel, qt(texts.patternLabel));
    // Named by what they set; the label beside each tells the present value.
    const bool german = settings_.german();
    setSpokenText(OKBtn, QStringLiteral("OK"), qt(texts.okHint));
    setSpokenText(TongueBtn, german ? QStringLiteral("Sprache") : QStringLiteral("Language"),
                  qt(texts.languageHint) + QLatin1Char(' ') + qt(texts.languageLabel));
    setSpokenText(SoundBtn, german ? QStringLiteral("Ger\u00e4usche") : QStringLiteral("Sound"),
                  qt(texts.soundHint) + QLatin1Char(' ') + qt(texts.soundLabel));
    setSpokenText(MusicBtn, german ? QStringLiteral("Musik") : QStringLiteral("Music"),
                  qt(texts.musicHint) + QLatin1Char(' ') + qt(texts.musicLabel));
    setSpokenText(BackBtn, german ? QStringLiteral("Hintergrund") : QStringLiteral("Background"),
                  qt(texts.backgroundHint) + QLatin1Char(' ') + qt(texts.backgroundLabel));
    setSpokenText(PatBtn, german ? QStringLiteral("Vorlage") : QStringLiteral("Pattern"),
                  qt(texts.patternHint) + QLatin1Char(' ') + qt(texts.patternLabel));
}

void TOptionDlg::TongueBtnClick()
{
    effects_.stepOption(GameSession::Option::Language);
    updateOptionTexts();
}

void TOptionDlg::SoundBtnClick()
{
    effects_.stepOption(GameSession::Option::Sound);
    updateOptionTexts();
}

void TOptionDlg::MusicBtnClick()
{
    effects_.toggleMusic();
    updateOptionTexts();
}

void TOptionDlg::BackBtnClick()
{
    effects_.stepOption(GameSession::Option::Background);
    updateOptionTexts();
}

void TOptionDlg::PatBtnClick()
{
    effects_.stepOption(GameSession::Option::PatternMode);
    updateOptionTexts();
}

std::optional<DialogResult> TOptionDlg::resultOfKey(int key) const
{
    return isConfirmKey(key) ? std::optional(DialogResult::Ok) : std::nullopt;
}

}  // namespace quellon
