#include "IniFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <limits>

namespace sw {
namespace detail {

struct IniChange {
    enum Kind { Write, EraseSection, DeleteKey } kind = Write;
    QString section;
    QString key;
    QString value;
};

struct IniLine {
    enum Kind { Other, Section, Entry } kind = Other;
    QString text;   // the line as it stands in the file, without its break
    QString name;   // section or key name, trimmed
    QString fold;   // name folded for comparison
    QString value;  // trimmed value of an entry
};

static IniLine ParseLine(QString text) {
    IniLine line;
    line.text = std::move(text);
    const QString& t = line.text;
    qsizetype i = 0;
    while (i < t.size() && t.at(i).isSpace()) ++i;
    if (i == t.size()) return line;
    const QChar first = t.at(i);
    if (first == u';') return line;
    if (first == u'[') {
        const qsizetype close = t.indexOf(u']', i + 1);
        if (close < 0) return line;
        line.kind = IniLine::Section;
        line.name = t.mid(i + 1, close - i - 1).trimmed();
        line.fold = line.name.toCaseFolded();
        return line;
    }
    const qsizetype eq = t.indexOf(u'=', i);
    if (eq < 0) return line;
    QString name = t.mid(i, eq - i).trimmed();
    if (name.isEmpty()) return line;
    line.kind = IniLine::Entry;
    line.name = std::move(name);
    line.fold = line.name.toCaseFolded();
    line.value = t.mid(eq + 1).trimmed();
    return line;
}

static bool HasBomSignature(const QByteArray& b) {
    return b.startsWith("\xEF\xBB\xBF") || b.startsWith("\xFF\xFE") || b.startsWith("\xFE\xFF");
}

static bool IsValidUtf8(const QByteArray& b) {
    QStringDecoder dec(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    (void)QString(dec.decode(b));
    return !dec.hasError();
}

class IniDocument {
public:
    enum Encoding { Utf8, Utf8Bom, Utf16LE, Utf16BE, Latin1 };

    std::vector<IniLine> lines;
    Encoding encoding = Utf8;
    bool crlf = false;

    static IniDocument Parse(const QByteArray& bytes) {
        IniDocument doc;
        QString text;
        auto decode = [&](QStringConverter::Encoding enc, qsizetype skip) {
            // Stateless: a sequence cut off at the end is an error, not held back.
            QStringDecoder dec(enc, QStringConverter::Flag::ConvertInitialBom |
                                        QStringConverter::Flag::Stateless);
            text = dec.decode(QByteArrayView(bytes).sliced(skip));
            return !dec.hasError();
        };
        bool ok;
        if (bytes.startsWith("\xEF\xBB\xBF")) {
            doc.encoding = Utf8Bom;
            ok = decode(QStringConverter::Utf8, 3);
        } else if (bytes.startsWith("\xFF\xFE")) {
            doc.encoding = Utf16LE;
            ok = decode(QStringConverter::Utf16LE, 2);
        } else if (bytes.startsWith("\xFE\xFF")) {
            doc.encoding = Utf16BE;
            ok = decode(QStringConverter::Utf16BE, 2);
        } else {
            doc.encoding = Utf8;
            ok = decode(QStringConverter::Utf8, 0);
        }
        if (!ok) {
            // Not the encoding it claims: take the bytes as Latin-1, which
            // maps every byte to one character, so untouched lines keep
            // their bytes on a rewrite.
            doc.encoding = Latin1;
            text = QString::fromLatin1(bytes);
        }

        const qsizetype firstBreak = text.indexOf(u'\n');
        doc.crlf = firstBreak > 0 && text.at(firstBreak - 1) == u'\r';

        qsizetype start = 0;
        while (start < text.size()) {
            qsizetype end = text.indexOf(u'\n', start);
            if (end < 0) end = text.size();
            qsizetype stop = end;
            while (stop > start && text.at(stop - 1) == u'\r') --stop;
            doc.lines.push_back(ParseLine(text.mid(start, stop - start)));
            start = end + 1;
        }
        return doc;
    }

    QByteArray Serialize() const {
        QString text;
        const QString eol = crlf ? QStringLiteral("\r\n") : QStringLiteral("\n");
        for (const IniLine& l : lines) {
            text += l.text;
            text += eol;
        }
        switch (encoding) {
        case Utf8Bom: return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
        case Utf16LE: {
            QStringEncoder enc(QStringConverter::Utf16LE);
            return QByteArray("\xFF\xFE") + QByteArray(enc.encode(text));
        }
        case Utf16BE: {
            QStringEncoder enc(QStringConverter::Utf16BE);
            return QByteArray("\xFE\xFF") + QByteArray(enc.encode(text));
        }
        case Latin1: {
            // Latin-1 as long as the bytes will be read back as Latin-1: every
            // character fits, and the bytes neither start like a byte order
            // mark nor happen to form valid UTF-8 (after the lines that were
            // not valid UTF-8 changed). Otherwise UTF-8 keeps the text.
            const bool fits = std::all_of(text.cbegin(), text.cend(),
                                          [](QChar c) { return c.unicode() <= 0xFF; });
            if (!fits) break;
            QByteArray bytes = text.toLatin1();
            if (HasBomSignature(bytes)) break;
            const bool ascii = std::all_of(bytes.cbegin(), bytes.cend(),
                                           [](char c) { return uchar(c) < 0x80; });
            if (ascii || !IsValidUtf8(bytes)) return bytes;
            break;
        }
        case Utf8: break;
        }
        // A text that starts with U+FEFF needs a byte order mark before it,
        // or the next read would take that character for the mark.
        if (text.startsWith(QChar(0xFEFF))) return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
        return text.toUtf8();
    }

    // Index of the first header of the section, or -1.
    qsizetype FindSection(const QString& fold) const {
        for (qsizetype i = 0; i < qsizetype(lines.size()); ++i)
            if (lines[size_t(i)].kind == IniLine::Section && lines[size_t(i)].fold == fold) return i;
        return -1;
    }
    // One past the last line of the section whose header is at `header`.
    qsizetype SectionEnd(qsizetype header) const {
        qsizetype i = header + 1;
        while (i < qsizetype(lines.size()) && lines[size_t(i)].kind != IniLine::Section) ++i;
        return i;
    }
    qsizetype FindKey(qsizetype header, const QString& fold) const {
        const qsizetype end = SectionEnd(header);
        for (qsizetype i = header + 1; i < end; ++i)
            if (lines[size_t(i)].kind == IniLine::Entry && lines[size_t(i)].fold == fold) return i;
        return -1;
    }
    const IniLine* Find(const QString& section, const QString& key) const {
        const qsizetype h = FindSection(section.trimmed().toCaseFolded());
        if (h < 0) return nullptr;
        const qsizetype k = FindKey(h, key.trimmed().toCaseFolded());
        return k < 0 ? nullptr : &lines[size_t(k)];
    }

    // Applies one change; true when the text changed.
    bool Apply(const IniChange& c) {
        const QString sfold = c.section.trimmed().toCaseFolded();
        switch (c.kind) {
        case IniChange::Write: {
            const QString keyName = c.key.trimmed();
            const QString kfold = keyName.toCaseFolded();
            const qsizetype h = FindSection(sfold);
            if (h < 0) {
                if (!lines.empty() && !lines.back().text.trimmed().isEmpty())
                    lines.push_back(ParseLine(QString()));
                lines.push_back(ParseLine(u'[' + c.section.trimmed() + u']'));
                lines.push_back(ParseLine(keyName + u'=' + c.value));
                return true;
            }
            const qsizetype k = FindKey(h, kfold);
            if (k >= 0) {
                IniLine& line = lines[size_t(k)];
                const QString text = line.name + u'=' + c.value;
                if (text == line.text) return false;
                line = ParseLine(text);
                return true;
            }
            const qsizetype end = SectionEnd(h);
            qsizetype at = h + 1;
            for (qsizetype i = h + 1; i < end; ++i)
                if (lines[size_t(i)].kind == IniLine::Entry) at = i + 1;
            lines.insert(lines.begin() + at, ParseLine(keyName + u'=' + c.value));
            return true;
        }
        case IniChange::EraseSection: {
            bool changed = false;
            for (qsizetype h = FindSection(sfold); h >= 0; h = FindSection(sfold)) {
                lines.erase(lines.begin() + h, lines.begin() + SectionEnd(h));
                changed = true;
            }
            return changed;
        }
        case IniChange::DeleteKey: {
            const qsizetype h = FindSection(sfold);
            if (h < 0) return false;
            const QString kfold = c.key.trimmed().toCaseFolded();
            bool changed = false;
            for (qsizetype k = FindKey(h, kfold); k >= 0; k = FindKey(h, kfold)) {
                lines.erase(lines.begin() + k);
                changed = true;
            }
            return changed;
        }
        }
        return false;
    }
};

}  // namespace detail

using detail::IniChange;
using detail::IniDocument;
using detail::IniLine;

namespace {

QString ReadFailure(const QString& path, const QString& reason) {
    return QStringLiteral("Cannot read settings file \"%1\": %2").arg(path, reason);
}
QString WriteFailure(const QString& path, const QString& reason) {
    return QStringLiteral("Cannot write settings file \"%1\": %2").arg(path, reason);
}

// Reads the file into a document; a missing file is an empty document.
bool Load(const QString& path, IniDocument& doc, QString& error) {
    doc = IniDocument();
    QFile file(path);
    if (!file.exists()) return true;
    if (!file.open(QIODevice::ReadOnly)) {
        error = ReadFailure(path, file.errorString());
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        error = ReadFailure(path, file.errorString());
        return false;
    }
    doc = IniDocument::Parse(bytes);
    return true;
}

bool HasLineBreak(const QString& s) {
    return s.contains(u'\n') || s.contains(u'\r');
}

// Why a change cannot be stored, or an empty text when it can.
QString Refusal(const IniChange& c) {
    const QString section = c.section.trimmed();
    // A carriage return inside a name stays inside its line when read back,
    // and files hold such names; only a line feed splits a line.
    if (section.isEmpty() || section.contains(u'\n') || section.contains(u']'))
        return QStringLiteral("the section name \"%1\" cannot be stored").arg(c.section);
    if (c.kind == IniChange::EraseSection) return {};
    const QString key = c.key.trimmed();
    if (key.isEmpty() || key.contains(u'\n') || key.contains(u'=') || key.startsWith(u'[') ||
        key.startsWith(u';'))
        return QStringLiteral("the key name \"%1\" cannot be stored").arg(c.key);
    if (c.kind == IniChange::Write && HasLineBreak(c.value))
        return QStringLiteral("the value of key \"%1\" contains a line break").arg(key);
    return {};
}

bool ParseDecimal(const QString& text, qint64& out) {
    const QString t = text.trimmed();
    qsizetype i = 0;
    if (i < t.size() && (t.at(i) == u'+' || t.at(i) == u'-')) ++i;
    if (i == t.size()) return false;
    for (qsizetype j = i; j < t.size(); ++j)
        if (t.at(j) < u'0' || t.at(j) > u'9') return false;
    bool ok = false;
    const qint64 v = t.toLongLong(&ok, 10);
    if (!ok) return false;
    out = v;
    return true;
}

}  // namespace

IniFile::IniFile(QString path) : path_(std::move(path)) {}
IniFile::IniFile() : memoryOnly_(true), batchDoc_(std::make_unique<IniDocument>()) {}
IniFile::~IniFile() = default;

std::unique_ptr<IniFile> IniFile::FromBytes(const QByteArray& bytes) {
    std::unique_ptr<IniFile> ini(new IniFile());
    *ini->batchDoc_ = IniDocument::Parse(bytes);
    return ini;
}

bool IniFile::exists() const {
    return !memoryOnly_ && QFileInfo(path_).isFile();
}

bool IniFile::Fail(const QString& text) const {
    error_ = text;
    return false;
}

const IniDocument& IniFile::Doc() const {
    if (batchDoc_ && (memoryOnly_ || updateDepth_ > 0)) return *batchDoc_;
    if (!scratch_) scratch_ = std::make_unique<IniDocument>();
    QString err;
    if (!Load(path_, *scratch_, err)) error_ = err;
    return *scratch_;
}

QString IniFile::ReadString(const QString& section, const QString& key, const QString& def) const {
    error_.clear();
    const IniLine* line = Doc().Find(section, key);
    return line ? line->value : def;
}

qint64 IniFile::ReadInt64(const QString& section, const QString& key, qint64 def) const {
    error_.clear();
    const IniLine* line = Doc().Find(section, key);
    qint64 v = 0;
    return line && ParseDecimal(line->value, v) ? v : def;
}

int IniFile::ReadInteger(const QString& section, const QString& key, int def) const {
    const qint64 v = ReadInt64(section, key, qint64(std::numeric_limits<int>::max()) + 1);
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max()) return def;
    return int(v);
}

bool IniFile::ReadBool(const QString& section, const QString& key, bool def) const {
    error_.clear();
    const IniLine* line = Doc().Find(section, key);
    qint64 v = 0;
    return line && ParseDecimal(line->value, v) ? v != 0 : def;
}

QStringList IniFile::ReadSections() const {
    error_.clear();
    QStringList names;
    QStringList folds;
    for (const IniLine& l : Doc().lines) {
        if (l.kind != IniLine::Section || folds.contains(l.fold)) continue;
        folds << l.fold;
        names << l.name;
    }
    return names;
}

std::vector<IniValue> IniFile::ReadSectionValues(const QString& section) const {
    error_.clear();
    std::vector<IniValue> values;
    const IniDocument& doc = Doc();
    const qsizetype h = doc.FindSection(section.trimmed().toCaseFolded());
    if (h < 0) return values;
    QStringList folds;
    const qsizetype end = doc.SectionEnd(h);
    for (qsizetype i = h + 1; i < end; ++i) {
        const IniLine& l = doc.lines[size_t(i)];
        if (l.kind != IniLine::Entry || folds.contains(l.fold)) continue;
        folds << l.fold;
        values.push_back({l.name, l.value});
    }
    return values;
}

QStringList IniFile::ReadSection(const QString& section) const {
    QStringList keys;
    for (const IniValue& v : ReadSectionValues(section)) keys << v.key;
    return keys;
}

bool IniFile::SectionExists(const QString& section) const {
    error_.clear();
    return Doc().FindSection(section.trimmed().toCaseFolded()) >= 0;
}

bool IniFile::ValueExists(const QString& section, const QString& key) const {
    error_.clear();
    return Doc().Find(section, key) != nullptr;
}

bool IniFile::WriteString(const QString& section, const QString& key, const QString& value) {
    return Change({IniChange::Write, section, key, value});
}

bool IniFile::WriteInteger(const QString& section, const QString& key, qint64 value) {
    return WriteString(section, key, QString::number(value));
}

bool IniFile::WriteBool(const QString& section, const QString& key, bool value) {
    return WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool IniFile::EraseSection(const QString& section) {
    return Change({IniChange::EraseSection, section, {}, {}});
}

bool IniFile::DeleteKey(const QString& section, const QString& key) {
    return Change({IniChange::DeleteKey, section, key, {}});
}

bool IniFile::Change(const IniChange& change) {
    error_.clear();
    const QString refusal = Refusal(change);
    if (!refusal.isEmpty())
        return Fail(memoryOnly_ ? refusal : WriteFailure(path_, refusal));
    if (memoryOnly_) {
        batchDoc_->Apply(change);
        return true;
    }
    if (updateDepth_ > 0) {
        batchDoc_->Apply(change);
        pending_.push_back(change);
        return true;
    }
    return Commit({change});
}

bool IniFile::Commit(const std::vector<IniChange>& changes) {
    IniDocument doc;
    QString err;
    if (!Load(path_, doc, err)) return Fail(WriteFailure(path_, err));
    bool changed = false;
    for (const IniChange& c : changes) changed = doc.Apply(c) || changed;
    if (changed) {
        QSaveFile file(path_);
        if (!file.open(QIODevice::WriteOnly)) return Fail(WriteFailure(path_, file.errorString()));
        const QByteArray bytes = doc.Serialize();
        // Check the write and the flush of Qt's buffer here: a failure that
        // only shows when commit() flushes may go unreported there.
        if (file.write(bytes) != bytes.size() || !file.flush() ||
            file.error() != QFileDevice::NoError) {
            const QString reason = file.errorString();
            file.cancelWriting();
            return Fail(WriteFailure(path_, reason));
        }
        if (!file.commit()) return Fail(WriteFailure(path_, file.errorString()));
    }
    if (updateDepth_ > 0) *batchDoc_ = std::move(doc);
    return true;
}

void IniFile::BeginUpdate() {
    if (memoryOnly_) return;
    if (updateDepth_++ > 0) return;
    batchDoc_ = std::make_unique<IniDocument>();
    pending_.clear();
    QString err;
    if (!Load(path_, *batchDoc_, err)) error_ = err;
}

bool IniFile::Flush() {
    error_.clear();
    if (memoryOnly_ || updateDepth_ == 0 || pending_.empty()) return true;
    std::vector<IniChange> changes;
    changes.swap(pending_);
    if (Commit(changes)) return true;
    // The file keeps its old content; so do the reads of the rest of the update.
    QString err;
    if (!Load(path_, *batchDoc_, err)) *batchDoc_ = IniDocument();
    return false;
}

bool IniFile::EndUpdate() {
    if (memoryOnly_ || updateDepth_ == 0) return true;
    if (updateDepth_ > 1) {
        --updateDepth_;
        return true;
    }
    const bool ok = Flush();
    updateDepth_ = 0;
    batchDoc_.reset();
    return ok;
}

QByteArray IniFile::serialized() const {
    return Doc().Serialize();
}

}  // namespace sw
