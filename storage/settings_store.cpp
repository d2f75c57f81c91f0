// The settings store on QSettings' native per-user store.
#include "storage/settings_store.h"

#include <QSettings>
#include <QStringList>

#include <memory>
#include <optional>

#include "engine/settings_values.h"

namespace quellon {

namespace {

// The store a Session holds open, if any.
QSettings* openStore = nullptr;

constexpr QSettings::Format kFormat = QSettings::NativeFormat;
constexpr QSettings::Scope kScope = QSettings::UserScope;

// `use` on the store a Session holds, or on one opened for this call.
template <typename Use>
auto withStore(Use use)
{
    if (openStore != nullptr)
        return use(*openStore);
    QSettings settings(kFormat, kScope, SettingsStore::kOrganisation, SettingsStore::kApplication);
    return use(settings);
}

// Qt reads an unquoted "a,b,c" as a list; the game only ever stores text.
std::optional<QString> storedText(const QString& section, const QString& key)
{
    return withStore([&](QSettings& settings) -> std::optional<QString> {
        const QString path = section + QLatin1Char('/') + key;
        if (!settings.contains(path))
            return std::nullopt;
        const QVariant value = settings.value(path);
        if (value.typeId() == QMetaType::QStringList)
            return value.toStringList().join(QLatin1Char(','));
        return value.toString();
    });
}

void store(const QString& section, const QString& key, const QString& text)
{
    withStore([&](QSettings& settings) { settings.setValue(section + QLatin1Char('/') + key, text); });
}

}  // namespace

QString SettingsStore::fileIn(const QString& configFolder)
{
    return configFolder + QLatin1Char('/') + kOrganisation + QLatin1Char('/') + kApplication + QStringLiteral(".conf");
}

SettingsStore::Session::Session()
{
    if (openStore == nullptr) {
        settings_ = std::make_unique<QSettings>(kFormat, kScope, kOrganisation, kApplication);
        openStore = settings_.get();
    }
}

SettingsStore::Session::~Session()
{
    if (settings_)
        openStore = nullptr;
}

void SettingsStore::redirectTo(const QString& configFolder)
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configFolder);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, configFolder);
}

int SettingsStore::readInteger(const QString& section, const QString& key, int defaultValue) const
{
    const std::optional<QString> text = storedText(section, key);
    if (!text)
        return defaultValue;
    const std::string utf8 = text->toStdString();
    return settingInteger(std::string_view(utf8), defaultValue);
}

bool SettingsStore::readBoolean(const QString& section, const QString& key, bool defaultValue) const
{
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

QString SettingsStore::readText(const QString& section, const QString& key, const QString& defaultValue) const
{
    return storedText(section, key).value_or(defaultValue);
}

bool SettingsStore::contains(const QString& section, const QString& key) const
{
    return storedText(section, key).has_value();
}

void SettingsStore::writeInteger(const QString& section, const QString& key, int value) const
{
    store(section, key, QString::number(value));
}

void SettingsStore::writeBoolean(const QString& section, const QString& key, bool value) const
{
    store(section, key, QString::number(value ? 1 : 0));
}

void SettingsStore::writeText(const QString& section, const QString& key, const QString& value) const
{
    store(section, key, value);
}

}  // namespace quellon
