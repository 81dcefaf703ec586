#pragma once
// The table file: one header line naming the file kind and the analysis
// options in use, then one line of comma-terminated fields per table row
// (the four cell texts in Shift-JIS, then the tagged record fields).
// Written with CR LF; read with CR LF or LF, lines of any length.
//
// The window owns the check boxes, the message box, the receive log and
// TableModified; these functions take what they need as values and report
// back what the window has to show or set.

#include "platform/user_text.h"
#include "table/learning_table.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quvan {

inline constexpr std::string_view kTableFileMark = "QUVAN Table File";

// Message box texts of the two questions and failures the file raises
// (translated in the context "TableFile" where they are shown).
inline constexpr std::string_view kNotTableFileCaption =
    QUVAN_TR_NOOP("TableFile", "Warning"); // kind 2 (Yes/No)
inline constexpr std::string_view kNotTableFileText =
    QUVAN_TR_NOOP("TableFile", "QUVANのテーブルファイルでは有りません。\n強制的に開きますか？");
inline constexpr std::string_view kSaveErrorCaption =
    QUVAN_TR_NOOP("TableFile", "File Error"); // kind 1 (OK)
inline constexpr std::string_view kSaveErrorText = QUVAN_TR_NOOP(
    "TableFile", "Can't perform one of the following \nfile operations: Open, Write, Close.");

// The analysis options written into the header: the ticks of ckEiritsu,
// ckSerial and ckPhilips and the texts of cmbTs, cmbTw and cmbBt (UTF-8;
// the texts are written only when philips is ticked).
struct TableHeaderOptions {
    bool eiritsu = false;
    bool serial = false;
    bool philips = false;
    std::string ts;
    std::string tw;
    std::string bits;
};

// ---- Saving ----

struct TableSaveResult {
    bool ok = false;
    std::string error;                 // on failure: what went wrong, for a detail line
    std::vector<std::string> warnings; // saved, but these values will not load back unchanged
};

// The whole file as bytes.
std::string FormatTableFile(const LearningTable& table, const TableHeaderOptions& header,
                            std::vector<std::string>* warnings = nullptr);

// Writes the file through a temporary file in the same folder that is then
// renamed over `path`, so an existing table survives any failure unchanged.
// On success the caller clears TableModified; on failure it shows
// kSaveErrorCaption/kSaveErrorText and leaves TableModified as it is.
TableSaveResult SaveTable(const std::string& path, const LearningTable& table,
                          const TableHeaderOptions& header);

// ---- Loading ----

enum class TableLoadStatus {
    Loaded, // every row line was read
    // A malformed number stopped reading; the rows read so far are in the
    // table. The caller reports conversionError->message. The table now
    // matches neither the old file nor this one, so it should count as
    // changed (TableModified set, the current file path kept) rather than
    // as opened: a later save must be a deliberate choice of file.
    StoppedAtError,
    // Reading ended before the file's rows did: a line that is not a row
    // line, a read error, or rows with data beyond the edition's last row.
    // The rows read so far are in the table; the caller reports
    // stop->message and treats the table as StoppedAtError does.
    StoppedEarly,
    CannotOpen, // the file could not be read; table untouched; error says why
    Declined,   // not a table file and the user said No; table untouched
};

// Where and why reading ended before the file did.
struct TableReadStop {
    int line = 0;           // 1-based line of the file, 0 when none is to blame
    int unreadRowLines = 0; // row lines ("[" ...) after it that were not read
    std::string message;    // for the user
};

// What the header line asks of the analysis options. Boxes are only ever
// ticked by a load, never unticked; a text is set only when its tag occurs.
// When any of the three boxes is ticked afterwards, the window shows the
// special-format options (pnlCont's tag 1; btnTableLoad and the boxes
// visible).
struct TableHeaderFound {
    bool eiritsu = false;
    bool serial = false;
    bool philips = false;
    std::optional<std::string> ts;   // new text of cmbTs
    std::optional<std::string> tw;   // new text of cmbTw
    std::optional<std::string> bits; // new text of cmbBt
};

// A field that should hold a number but does not. Reading stops there; the
// rows before it and the partly read row stay in the table.
struct TableConversionError {
    int row = 0;         // table row = the n-th row line
    int line = 0;        // 1-based line of the file
    int field = 0;       // 1-based position in the line, the label being field 1
    std::string tag;     // "Twp:" or "Twd:"
    std::string text;    // the offending characters (UTF-8)
    std::string message; // for the application's general error report
};

struct TableLoadResult {
    TableLoadStatus status = TableLoadStatus::CannotOpen;
    // LoadTable's success flag: the table now holds the file's rows.
    bool ok() const {
        return status == TableLoadStatus::Loaded || status == TableLoadStatus::StoppedAtError ||
               status == TableLoadStatus::StoppedEarly;
    }
    // Only part of the file is in the table (StoppedAtError, StoppedEarly).
    bool partial() const {
        return status == TableLoadStatus::StoppedAtError || status == TableLoadStatus::StoppedEarly;
    }
    std::string error; // CannotOpen: the path and the system's reason
    TableHeaderFound header;
    int rowsRead = 0; // row lines taken into rows 1..rowsRead
    std::optional<TableConversionError> conversionError;
    std::optional<TableReadStop> stop; // StoppedEarly
    // Values the loader had to limit or could not read as numbers, text
    // bytes that are not Shift-JIS, codes beyond the record's 4096, rows cut
    // short: the table differs here from the file, so the window shows these
    // to the user and counts the table as changed.
    std::vector<std::string> warnings;
    // With TableLoadOptions::monitorDump: the receive-log lines for every row
    // whose Carry is not 0. The window empties memoRecv after a load, then
    // adds these.
    std::vector<std::string> monitorLines;
};

struct TableLoadOptions {
    // Asked when the first line lacks kTableFileMark: show the kind-2 box
    // kNotTableFileCaption/kNotTableFileText and return true for Yes.
    // Without it such a file is declined.
    std::function<bool()> confirmNotTableFile;
    bool monitorDump = false; // MonitorMode is on
};

// Replaces the table with the file's rows (rows after them are empty). On
// CannotOpen and Declined the table is untouched. Lines end in CR LF, LF or
// a lone CR; blank lines between rows are skipped.
TableLoadResult LoadTable(const std::string& path, LearningTable& table,
                          const TableLoadOptions& options = {});

// The same on the file's bytes.
TableLoadResult ParseTableFile(std::string_view bytes, LearningTable& table,
                               const TableLoadOptions& options = {});

} // namespace quvan
