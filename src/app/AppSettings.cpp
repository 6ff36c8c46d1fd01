#include "app/AppSettings.h"

#include <QStandardPaths>

namespace {

constexpr char kRecentFiles[] = "RecentFiles/files";
constexpr char kGeometry[] = "MainWindow/geometry";
constexpr char kBarState[] = "MainWindow/barState";
constexpr char kLastFolder[] = "FileDialogs/lastFolder";
constexpr char kPlaySpeed[] = "Playback/playSpeedIndex";
constexpr char kAutosaveInterval[] = "autosave/intervalSeconds";
constexpr int kDefaultAutosaveInterval = 60;

// The file is named here rather than by organisation and program name: QSettings takes
// its folders once per process, and the folder must follow XDG_CONFIG_HOME as it is now.
QString SettingsFile() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/pavrix/pavrix.conf");
}

} // namespace

AppSettings::AppSettings() : m_settings(SettingsFile(), QSettings::IniFormat) {}

QStringList AppSettings::RecentFiles() const {
    return m_settings.value(QLatin1String(kRecentFiles)).toStringList();
}

void AppSettings::SetRecentFiles(const QStringList& paths) {
    m_settings.setValue(QLatin1String(kRecentFiles), paths);
}

QByteArray AppSettings::WindowGeometry() const {
    return m_settings.value(QLatin1String(kGeometry)).toByteArray();
}

void AppSettings::SetWindowGeometry(const QByteArray& geometry) {
    m_settings.setValue(QLatin1String(kGeometry), geometry);
}

QByteArray AppSettings::BarState() const {
    return m_settings.value(QLatin1String(kBarState)).toByteArray();
}

void AppSettings::SetBarState(const QByteArray& state) {
    m_settings.setValue(QLatin1String(kBarState), state);
}

QString AppSettings::LastFolder() const {
    return m_settings.value(QLatin1String(kLastFolder)).toString();
}

void AppSettings::SetLastFolder(const QString& folder) {
    m_settings.setValue(QLatin1String(kLastFolder), folder);
}

int AppSettings::PlaySpeedIndex() const {
    bool ok = false;
    const int index = m_settings.value(QLatin1String(kPlaySpeed)).toInt(&ok);
    return ok && index >= 0 ? index : -1;
}

void AppSettings::SetPlaySpeedIndex(int index) {
    m_settings.setValue(QLatin1String(kPlaySpeed), index);
}

int AppSettings::AutosaveIntervalSeconds() const {
    bool ok = false;
    const int seconds = m_settings.value(QLatin1String(kAutosaveInterval)).toInt(&ok);
    if (!ok) {
        return kDefaultAutosaveInterval;
    }
    return seconds > 0 ? seconds : 0;
}
