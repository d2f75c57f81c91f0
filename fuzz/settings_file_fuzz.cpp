// Any bytes as the settings file itself, read through the game's settings
// store: the platform's INI parser (with its @Variant, @ByteArray and list
// forms) comes before the game's own parsing. Every key must read as the
// documented value: its default or the integer its text spells, and a
// "MainForm" either refused or kept on the desktop.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include "engine/settings_values.h"
#include "fuzz/check.h"
#include "storage/settings_store.h"

using namespace quellon;

namespace {

struct Fixture {
    QTemporaryDir root;
    uint64_t runs = 0;
};

Fixture& fixture()
{
    static int argc = 1;
    static char name[] = "fuzz_settings_file";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    static Fixture f;
    return f;
}

const char* const kKeys[] = {"tongue",  "sound", "back", "music", "level", "game",
                             "patmode", "wid",   "hig",  "pleft", "ptop",  "MainForm"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fixture& f = fixture();
    // A fresh folder every run: the platform keeps parsed files by name and
    // would not notice a rewrite of the same size within one clock tick.
    const QString dir = f.root.path() + QStringLiteral("/") + QString::number(f.runs++);
    SettingsStore::redirectTo(dir);
    const QString path = SettingsStore::fileIn(dir);
    QDir().mkpath(QFileInfo(path).path());
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly));
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }

    const SettingsStore store;
    const QString& section = SettingsStore::kSection;
    for (const char* name : kKeys) {
        const QString key = QString::fromLatin1(name);
        const bool present = store.contains(section, key);
        const QString text = store.readText(section, key, QStringLiteral("\x01"));
        FUZZ_CHECK(present || text == QStringLiteral("\x01"));
        const std::string utf8 = text.toStdString();
        const std::optional<int> number = present ? parseSettingInteger(utf8) : std::nullopt;
        for (int fallback : {-1, 2}) {
            const int value = store.readInteger(section, key, fallback);
            FUZZ_CHECK(value == number.value_or(fallback));
        }
        FUZZ_CHECK(store.readBoolean(section, key, true) == (number ? *number != 0 : true));
        FUZZ_CHECK(store.readBoolean(section, key, false) == (number ? *number != 0 : false));
    }

    const QString mainForm = store.readText(section, QStringLiteral("MainForm"), QString());
    std::optional<WindowPlacement> placement = parsePlacement(mainForm.toStdString());
    if (placement && placement->right >= placement->left && placement->bottom >= placement->top &&
        int64_t{placement->right} - placement->left <= 1920 && int64_t{placement->bottom} - placement->top <= 1080) {
        clampToDesktop(*placement, DesktopArea{0, 0, 1920, 1080});
        FUZZ_CHECK(placement->left >= 0 && placement->right <= 1920);
        FUZZ_CHECK(placement->top >= 0 && placement->bottom <= 1080);
    }
    QDir(dir).removeRecursively();
    return 0;
}
