#pragma once
// INI text files with the semantics of the Windows profile functions, which
// both programs use for system.dat and the lame.dll profiles.
//
// Reading
//  - Section and key names are matched without regard to case (Unicode case
//    folding). Names and values are trimmed of surrounding blanks, as the
//    profile functions do; a value keeps its inner blanks and any quotes.
//  - A section line is "[name]" (leading blanks allowed, text after the
//    closing bracket ignored). A key line is "key=value", split at the first
//    '='. Lines starting with ';' are comments. Blank lines, lines without
//    '=', and keys before the first section are kept in the file but are not
//    keys of any section.
//  - When a section name occurs twice, the first occurrence is the section;
//    when a key occurs twice in it, the first occurrence wins.
//  - Text is UTF-8 (a UTF-8 byte order mark is kept); a file that is not
//    valid UTF-8 is read as Latin-1 and rewritten as Latin-1, so lines that
//    were not changed keep their bytes (as UTF-8 once a value needs more than
//    Latin-1). A UTF-16 file
//    with a byte order mark is read and rewritten as UTF-16. Line breaks may
//    be LF or CRLF; a rewrite uses the break of the file's first line for
//    every line (LF for a new file).
//  - ReadInteger accepts optional blanks, an optional sign and decimal digits
//    only ("12", " -7 ", "+3"); anything else ("12abc", "0x10", "", a value
//    out of range) reads as the caller's default. ReadBool reads an integer:
//    0 is false, any other integer true, a malformed value the default.
//
// Writing
//  - WriteString on an existing key rewrites that one line; a new key goes
//    after the last key of its section (right after the header when it has
//    none); a new section goes at the end of the file. Every other line of
//    the file (comments, junk, duplicates) is kept byte for byte apart from
//    the line breaks.
//  - Every change is written atomically: the new text goes to a temporary
//    file in the same folder, which then replaces the old file (QSaveFile).
//    A failed write leaves the old file as it was.
//  - Failure is reported by a false result; errorString() then holds the
//    text to show, e.g. Cannot write settings file "/x/system.dat": Permission
//    denied. Names that cannot be stored (empty, with a line feed, a key with
//    '=' or starting with '[' or ';', a section with ']') and values with a
//    line feed or carriage return are refused the same way, without touching
//    the file.
//
// Modes
//  - Outside an update, every call works like a profile function: it reads
//    the file afresh and a change is written at once.
//  - Between BeginUpdate and the matching EndUpdate the file is read once and
//    changes collect in memory (reads see them). EndUpdate (outermost) writes
//    them in one atomic write; it re-reads the file first and applies the
//    collected changes to what is there now, so keys that another IniFile
//    wrote in the meantime are not lost. Flush writes early and stays in the
//    update. When that write fails the collected changes are dropped and the
//    file keeps its old content.
#include <QString>
#include <QStringList>
#include <memory>
#include <utility>
#include <vector>

namespace sw {

struct IniValue {
    QString key;
    QString value;
    bool operator==(const IniValue&) const = default;
};

namespace detail { class IniDocument; struct IniChange; }

class IniFile {
public:
    explicit IniFile(QString path);
    ~IniFile();
    IniFile(const IniFile&) = delete;
    IniFile& operator=(const IniFile&) = delete;

    const QString& fileName() const { return path_; }
    bool exists() const;

    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    int ReadInteger(const QString& section, const QString& key, int def) const;
    qint64 ReadInt64(const QString& section, const QString& key, qint64 def) const;
    bool ReadBool(const QString& section, const QString& key, bool def) const;

    bool WriteString(const QString& section, const QString& key, const QString& value);
    bool WriteInteger(const QString& section, const QString& key, qint64 value);
    bool WriteBool(const QString& section, const QString& key, bool value);

    // Removes every section of that name with all its lines.
    bool EraseSection(const QString& section);
    // Removes the key (every duplicate of it) from the section.
    bool DeleteKey(const QString& section, const QString& key);

    // Section names in file order, each once, spelled as in the file.
    QStringList ReadSections() const;
    // Key names of a section in file order, each once.
    QStringList ReadSection(const QString& section) const;
    // Keys with their values (the first value of a duplicate key).
    std::vector<IniValue> ReadSectionValues(const QString& section) const;
    bool SectionExists(const QString& section) const;
    bool ValueExists(const QString& section, const QString& key) const;

    void BeginUpdate();
    [[nodiscard]] bool EndUpdate();
    [[nodiscard]] bool Flush();
    bool inUpdate() const { return updateDepth_ > 0; }

    // The text of the last failure (empty after a success).
    const QString& errorString() const { return error_; }

    // The file text as it would be written now (for tests and the fuzz target).
    QByteArray serialized() const;
    // Parses bytes into a document without touching any file; reads through
    // the returned object see exactly that text. Writes go to memory only.
    static std::unique_ptr<IniFile> FromBytes(const QByteArray& bytes);

private:
    IniFile();
    bool Change(const detail::IniChange& change);
    bool Commit(const std::vector<detail::IniChange>& changes);
    const detail::IniDocument& Doc() const;
    bool Fail(const QString& text) const;

    QString path_;
    bool memoryOnly_ = false;
    int updateDepth_ = 0;
    std::unique_ptr<detail::IniDocument> batchDoc_;          // during an update / memory-only
    std::vector<detail::IniChange> pending_;                 // changes of the update
    mutable std::unique_ptr<detail::IniDocument> scratch_;   // fresh read outside an update
    mutable QString error_;
};

// RAII form of BeginUpdate/EndUpdate for code that reports the failure itself:
// call finish() to get the result; the destructor ends the update otherwise
// (and its result is lost).
class IniUpdate {
public:
    explicit IniUpdate(IniFile& ini) : ini_(ini) { ini_.BeginUpdate(); }
    ~IniUpdate() { if (!done_) (void)ini_.EndUpdate(); }
    IniUpdate(const IniUpdate&) = delete;
    IniUpdate& operator=(const IniUpdate&) = delete;
    [[nodiscard]] bool finish() { done_ = true; return ini_.EndUpdate(); }

private:
    IniFile& ini_;
    bool done_ = false;
};

}  // namespace sw
