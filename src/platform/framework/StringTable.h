#pragma once

#include <initializer_list>
#include <map>
#include <utility>

#include <QString>

namespace framework {

/// Numbered strings. A command's prompt string has the command's number and up to two
/// fields separated by a line feed: the longer prompt, then the tool-tip text.
class StringTable {
public:
    StringTable() = default;
    StringTable(std::initializer_list<std::pair<unsigned, QString>> entries);

    /// Sets (or replaces) string `id`.
    void Set(unsigned id, const QString& text);
    /// 1 when string `id` exists (an empty string exists too).
    int Has(unsigned id) const;
    /// String `id`; empty when it does not exist.
    QString Get(unsigned id) const;
    /// The first line-feed field of string `id` (the prompt).
    QString GetPrompt(unsigned id) const;
    /// The second line-feed field of string `id` (the tool tip); empty when the string has
    /// one field only or does not exist.
    QString GetToolTip(unsigned id) const;
    /// Field `index` (from 0) of `text` split at line feeds; empty when it has fewer.
    static QString Field(const QString& text, int index);

    int Count() const { return static_cast<int>(m_strings.size()); }
    const std::map<unsigned, QString>& Entries() const { return m_strings; }

private:
    std::map<unsigned, QString> m_strings;
};

} // namespace framework
