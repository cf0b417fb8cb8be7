#include "core/DataLog.h"

#include <vector>

#include "core/Helpers.h"

namespace sds {

namespace {

// CSV quoting: embedded double quotes are doubled.
void WriteQuoted(std::ostream& out, const std::string& text)
{
    out << '"';
    for (char c : text) {
        if (c == '"')
            out << '"';
        out << c;
    }
    out << '"';
}

void WriteField(std::ostream& out, const std::string& text, bool quote)
{
    if (quote)
        WriteQuoted(out, text);
    else
        out << text;
}

} // namespace

void CDataLog::SetCell(const std::string& column, float time, float value)
{
    GetColumn(column).GetCell(time) = ToString(value);
}

void CDataLog::Write(std::ostream& out, bool header, bool quote, const std::string& separator, bool zeroFill) const
{
    if (header) {
        out << "time" << separator;
        for (const auto& column : m_Columns) {
            WriteField(out, column.first, quote);
            out << separator;
        }
        out << '\n';
    }

    std::map<float, std::vector<std::string>> rows;
    std::size_t slot = 0;
    for (const auto& column : m_Columns) {
        for (const auto& cell : column.second.GetCells()) {
            std::vector<std::string>& row = rows[cell.first];
            if (row.empty())
                row.resize(m_Columns.size());
            row[slot] = cell.second;
        }
        ++slot;
    }

    for (const auto& row : rows) {
        out << row.first << separator;
        for (const std::string& text : row.second) {
            WriteField(out, text.empty() && zeroFill ? std::string("0") : text, quote);
            out << separator;
        }
        out << '\n';
    }
}

void CDataLog::WriteText(std::ostream& out, std::size_t minimumColumns)
{
    while (m_Columns.size() < minimumColumns) {
        float time = 0.0f;
        if (!m_Columns.empty() && !m_Columns.begin()->second.GetCells().empty())
            time = m_Columns.begin()->second.GetCells().begin()->first;
        const std::string name = "zzzzzzz" + std::to_string(m_Columns.size());
        GetColumn(name).GetCell(time) = "0";
    }
    Write(out, false, false, "\t", true);
}

void CDataLog::WriteCsv(std::ostream& out) const
{
    Write(out, true, true, ",", false);
}

CDataLogs& GetDataLogs()
{
    static CDataLogs logs;
    return logs;
}

CDataLog& GetDataLog(const std::string& name)
{
    return GetDataLogs()[name];
}

} // namespace sds
