#include "app/AppSettings.h"

#include <limits>

#include <QStandardPaths>

namespace {

constexpr char kRecentFiles[] = "RecentFiles/files";
constexpr char kGeometry[] = "MainWindow/geometry";
constexpr char kBarState[] = "MainWindow/barState";
constexpr char kLastFolder[] = "FileDialogs/lastFolder";
constexpr char kFourPanes[] = "View/fourPanes";
constexpr char kOnionGhosts[] = "OnionSkin/ghostsPerSide";
constexpr int kDefaultOnionGhosts = 2;
constexpr char kPlaySpeed[] = "Playback/playSpeedIndex";
constexpr char kAutosaveInterval[] = "autosave/intervalSeconds";
constexpr int kDefaultAutosaveInterval = 60;
constexpr char kLanguage[] = "Interface/language";
constexpr char kUndoSteps[] = "Undo/steps";
constexpr char kUndoBudget[] = "Undo/budgetMiB";

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

int AppSettings::NumberIn(const char* key, int low, int high) const {
    bool ok = false;
    const int value = m_settings.value(QLatin1String(key)).toInt(&ok);
    return ok && value >= low && value <= high ? value : -1;
}

int AppSettings::PlaySpeedIndex() const {
    return NumberIn(kPlaySpeed, 0, std::numeric_limits<int>::max());
}

void AppSettings::SetPlaySpeedIndex(int index) {
    m_settings.setValue(QLatin1String(kPlaySpeed), index);
}

QString AppSettings::Language() const {
    const QString language = m_settings.value(QLatin1String(kLanguage)).toString();
    for (const char* known : kLanguages) {
        if (language == QLatin1String(known)) {
            return language;
        }
    }
    return QLatin1String(kLanguages[0]);
}

void AppSettings::SetLanguage(const QString& language) {
    m_settings.setValue(QLatin1String(kLanguage), language);
}

int AppSettings::AutosaveIntervalSeconds() const {
    bool ok = false;
    const int seconds = m_settings.value(QLatin1String(kAutosaveInterval)).toInt(&ok);
    if (!ok) {
        return kDefaultAutosaveInterval;
    }
    return seconds > 0 ? seconds : 0;
}

int AppSettings::UndoStepLimit() const {
    return NumberIn(kUndoSteps, 1, 100000);
}

int AppSettings::UndoBudgetMiB() const {
    return NumberIn(kUndoBudget, 1, 1 << 20);
}

PaneLayout AppSettings::ViewLayout() const {
    return NumberIn(kFourPanes, 1, 1) == 1 ? PaneLayout::FourPanes : PaneLayout::Single;
}

void AppSettings::SetViewLayout(PaneLayout layout) {
    m_settings.setValue(QLatin1String(kFourPanes), layout == PaneLayout::FourPanes ? 1 : 0);
}

int AppSettings::OnionSkinGhosts() const {
    const int ghosts = NumberIn(kOnionGhosts, 1, 3);
    return ghosts > 0 ? ghosts : kDefaultOnionGhosts;
}

void AppSettings::SetUndoLimitsIfMissing(int steps, int budgetMiB) {
    if (!m_settings.contains(QLatin1String(kUndoSteps))) {
        m_settings.setValue(QLatin1String(kUndoSteps), steps);
    }
    if (!m_settings.contains(QLatin1String(kUndoBudget))) {
        m_settings.setValue(QLatin1String(kUndoBudget), budgetMiB);
    }
}
