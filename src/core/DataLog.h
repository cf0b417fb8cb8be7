#pragma once

#include <map>
#include <ostream>
#include <string>

#include "core/DataTable.h"

namespace sds {

// A table of telemetry: columns by name, each holding cells by time. Written at
// the end of a run as "data.log" (tab-separated, no header, missing cells 0) and
// "data.csv" (quoted, with header, missing cells empty).
class CDataLog
{
public:
    typedef std::map<std::string, CDataTable> CColumns;

    // The column of that name, created empty when absent.
    CDataTable& GetColumn(const std::string& name) { return m_Columns[name]; }
    // The float's text with six significant digits.
    void SetCell(const std::string& column, float time, float value);

    // Header "time" and the column names when `header`; one row per time that any
    // column holds, in time order; every line ends with the separator.
    void Write(std::ostream& out, bool header, bool quote, const std::string& separator, bool zeroFill) const;
    // Pads the log to `minimumColumns` with columns "zzzzzzz<n>", then writes it
    // tab-separated without header, missing cells as 0.
    void WriteText(std::ostream& out, std::size_t minimumColumns);
    void WriteCsv(std::ostream& out) const;

    const CColumns& GetColumns() const { return m_Columns; }

private:
    CColumns m_Columns;
};

typedef std::map<std::string, CDataLog> CDataLogs;

// The process-wide registry of data logs.
CDataLogs& GetDataLogs();
// The log of that name ("main" holds the jumpers' telemetry), created empty when absent.
CDataLog& GetDataLog(const std::string& name);

} // namespace sds
