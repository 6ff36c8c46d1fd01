#include "platform/framework/StringTable.h"

#include <QStringList>

namespace framework {

StringTable::StringTable(std::initializer_list<std::pair<unsigned, QString>> entries) {
    for (const auto& [id, text] : entries) {
        Set(id, text);
    }
}

void StringTable::Set(unsigned id, const QString& text) {
    m_strings[id] = text;
}

int StringTable::Has(unsigned id) const {
    return m_strings.count(id) != 0 ? 1 : 0;
}

QString StringTable::Get(unsigned id) const {
    const auto found = m_strings.find(id);
    return found != m_strings.end() ? found->second : QString();
}

QString StringTable::GetPrompt(unsigned id) const {
    return Field(Get(id), 0);
}

QString StringTable::GetToolTip(unsigned id) const {
    return Field(Get(id), 1);
}

QString StringTable::Field(const QString& text, int index) {
    const QStringList fields = text.split(QLatin1Char('\n'));
    return index >= 0 && index < fields.size() ? fields[index] : QString();
}

} // namespace framework
