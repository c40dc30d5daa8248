// Fuzz target for the INI parser: whatever the bytes, parsing and reading
// never crash, a parse of the written text reads the same, and a write
// changes the one key it writes and nothing else.
#include "IniFile.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <utility>

namespace {

using Snapshot = std::map<std::pair<QString, QString>, QString>;  // folded names -> value

void Check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "fuzz_ini: invariant broken: %s\n", what);
    std::abort();
}

Snapshot Read(const sw::IniFile& ini) {
    Snapshot s;
    const QStringList sections = ini.ReadSections();
    for (const QString& section : sections) {
        Check(ini.SectionExists(section), "a listed section exists");
        const QStringList keys = ini.ReadSection(section);
        const auto values = ini.ReadSectionValues(section);
        Check(keys.size() == qsizetype(values.size()), "keys and values agree");
        for (const sw::IniValue& v : values) {
            Check(ini.ValueExists(section, v.key), "a listed key exists");
            Check(ini.ReadString(section, v.key, QStringLiteral("\x01")) == v.value,
                  "ReadString gives the listed value");
            (void)ini.ReadInteger(section, v.key, 0);
            (void)ini.ReadBool(section, v.key, false);
            s.emplace(std::make_pair(section.toCaseFolded(), v.key.toCaseFolded()), v.value);
        }
    }
    return s;
}

// Parses the written text again: same reads, and writing it is stable.
void CheckRoundTrip(const sw::IniFile& ini, const Snapshot& expected) {
    const QByteArray text = ini.serialized();
    const auto again = sw::IniFile::FromBytes(text);
    Check(Read(*again) == expected, "a parse of the written text reads the same");
    Check(again->serialized() == text, "writing the parsed text again gives the same bytes");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const auto ini = sw::IniFile::FromBytes(bytes);
    const Snapshot before = Read(*ini);
    CheckRoundTrip(*ini, before);

    // One new key in an existing section (or a new one), then an existing key.
    const QStringList sections = ini->ReadSections();
    QString target = QStringLiteral("Fuzz");
    for (const QString& s : sections)
        if (!s.isEmpty()) { target = s; break; }
    const QString value = QStringLiteral(" new = value ");
    Check(ini->WriteString(target, QStringLiteral("FuzzKey"), value), "a write of a plain key");
    Snapshot expected = before;
    expected[{target.toCaseFolded(), QStringLiteral("fuzzkey")}] = value.trimmed();
    Check(Read(*ini) == expected, "a write changes only its key");
    CheckRoundTrip(*ini, expected);

    const auto values = ini->ReadSectionValues(target);
    if (!values.empty()) {
        const QString key = values.front().key;
        Check(ini->WriteInteger(target, key, -12345), "a write of an existing key");
        expected[{target.toCaseFolded(), key.toCaseFolded()}] = QStringLiteral("-12345");
        Check(ini->ReadInteger(target, key, 0) == -12345, "the written integer reads back");
        Check(Read(*ini) == expected, "an in-place write changes only its key");
        CheckRoundTrip(*ini, expected);
        Check(ini->DeleteKey(target, key), "a key can be deleted");
        Check(!ini->ValueExists(target, key), "a deleted key is gone");
        expected.erase({target.toCaseFolded(), key.toCaseFolded()});
        Check(Read(*ini) == expected, "a delete removes only its key");
    }

    Check(ini->EraseSection(target), "a section can be erased");
    Check(!ini->SectionExists(target), "an erased section is gone");
    for (auto it = expected.begin(); it != expected.end();)
        it = it->first.first == target.toCaseFolded() ? expected.erase(it) : std::next(it);
    Check(Read(*ini) == expected, "an erase removes only its section");
    CheckRoundTrip(*ini, expected);
    return 0;
}
