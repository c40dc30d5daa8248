#include "IniFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <limits>
#include <sys/resource.h>

using sw::IniFile;
using sw::IniValue;

namespace {

QByteArray ReadBytes(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return "<missing>";
    return f.readAll();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

class IniFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path;
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath("system.dat");
    }
    void Put(const QByteArray& bytes) { WriteBytes(path, bytes); }
    QByteArray Bytes() const { return ReadBytes(path); }
};

// A file with most of what hand-edited and foreign files contain.
const QByteArray kMixed =
    "orphan=before any section\n"
    "; a comment=with equals\n"
    "[System]\n"
    "Name = Soundwright Pro \n"
    "Empty=\n"
    "Path=C:\\Music\\a=b\n"
    "no equals sign here\n"
    "Dup=first\n"
    "dup=second\n"
    "\n"
    "  [ FormPos ]  trailing text\n"
    "x=10\n"
    "[broken header\n"
    "y=20\n"
    "[system]\n"
    "Later=in the second copy\n"
    "Name=shadowed\n";

struct StringCase {
    const char* section;
    const char* key;
    const char* expected;
};

TEST_F(IniFileTest, ReadStringFollowsProfileLookupRules) {
    Put(kMixed);
    IniFile ini(path);
    const StringCase cases[] = {
        {"System", "Name", "Soundwright Pro"},       // value trimmed, inner blank kept
        {"SYSTEM", "name", "Soundwright Pro"},       // names match without regard to case
        {"System", "Empty", ""},                     // present but empty: not the default
        {"System", "Path", "C:\\Music\\a=b"},        // split at the first '='
        {"System", "DUP", "first"},                  // duplicate key: first wins
        {"FormPos", "x", "10"},                      // blanks around the section name
        {"FormPos", "y", "20"},                      // "[broken" is no section header
        {"System", "Missing", "<def>"},
        {"Nowhere", "Name", "<def>"},
        {"System", "orphan", "<def>"},               // keys before any section are no keys
        {"System", "; a comment", "<def>"},          // comments are no keys
        {"System", "no equals sign here", "<def>"},
        {"System", "Later", "<def>"},                // only the first [System] counts
    };
    for (const StringCase& c : cases)
        EXPECT_EQ(ini.ReadString(c.section, c.key, "<def>"), QString::fromUtf8(c.expected))
            << c.section << "/" << c.key;
    EXPECT_TRUE(ini.ValueExists("system", "EMPTY"));
    EXPECT_FALSE(ini.ValueExists("System", "Later"));
    EXPECT_TRUE(ini.SectionExists("formpos"));
    EXPECT_FALSE(ini.SectionExists("broken header"));
}

TEST_F(IniFileTest, ReadIntegerAndBoolTakeDecimalOnly) {
    struct Case {
        const char* text;
        int asInt;       // read with default 42
        int asBool;      // -1: the default
    };
    const Case cases[] = {
        {"12", 12, 1},          {" -7 ", -7, 1},        {"+3", 3, 1},
        {"0", 0, 0},            {"-0", 0, 0},           {"007", 7, 1},
        {"12abc", 42, -1},      {"0x10", 42, -1},       {"$FF", 42, -1},
        {"", 42, -1},           {"-", 42, -1},          {"1 2", 42, -1},
        {"1.5", 42, -1},        {"yes", 42, -1},        {"true", 42, -1},
        {"2147483647", std::numeric_limits<int>::max(), 1},
        {"-2147483648", std::numeric_limits<int>::min(), 1},
        {"2147483648", 42, 1},  // out of int range, still an integer for a bool
        {"99999999999999999999", 42, -1},
    };
    QByteArray text = "[S]\n";
    for (size_t i = 0; i < std::size(cases); ++i)
        text += "k" + QByteArray::number(qulonglong(i)) + "=" + cases[i].text + "\n";
    Put(text);
    IniFile ini(path);
    for (size_t i = 0; i < std::size(cases); ++i) {
        const QString key = "k" + QString::number(i);
        const Case& c = cases[i];
        EXPECT_EQ(ini.ReadInteger("S", key, 42), c.asInt) << "value \"" << c.text << "\"";
        if (c.asBool < 0) {
            EXPECT_TRUE(ini.ReadBool("S", key, true)) << c.text;
            EXPECT_FALSE(ini.ReadBool("S", key, false)) << c.text;
        } else {
            EXPECT_EQ(ini.ReadBool("S", key, c.asBool == 0), c.asBool == 1) << c.text;
        }
    }
    EXPECT_EQ(ini.ReadInt64("S", "k17", 0), 2147483648LL);
    EXPECT_EQ(ini.ReadInteger("S", "missing", -5), -5);
    EXPECT_TRUE(ini.ReadBool("S", "missing", true));
}

TEST_F(IniFileTest, MissingFileReadsDefaultsAndIsCreatedOnFirstWrite) {
    IniFile ini(path);
    EXPECT_FALSE(ini.exists());
    EXPECT_EQ(ini.ReadString("S", "k", "d"), "d");
    EXPECT_TRUE(ini.ReadSections().isEmpty());
    // Removing things from a missing file does not create it.
    EXPECT_TRUE(ini.EraseSection("S"));
    EXPECT_TRUE(ini.DeleteKey("S", "k"));
    EXPECT_FALSE(QFile::exists(path));

    EXPECT_TRUE(ini.WriteBool("SYSTEM", "ShowStartDialog", true));
    EXPECT_TRUE(ini.WriteInteger("SYSTEM", "AccuAttackLevel", -45));
    EXPECT_TRUE(ini.WriteBool("SYSTEM", "AccuEnabled", false));
    EXPECT_TRUE(ini.WriteString("FormPos", "x", "10"));
    EXPECT_EQ(Bytes(), "[SYSTEM]\nShowStartDialog=1\nAccuAttackLevel=-45\nAccuEnabled=0\n"
                       "\n[FormPos]\nx=10\n");
    EXPECT_TRUE(ini.exists());
}

TEST_F(IniFileTest, WritesChangeOnlyTheirLineAndAppendWhereTheyBelong) {
    const QByteArray before =
        "; settings\n"
        "[System]\n"
        "Name=Old\n"
        "; keep me\n"
        "Other=1\n"
        "\n"
        "[Empty]\n"
        "; nothing here\n"
        "\n"
        "[View]\n"
        "Zoom=3\n";
    struct Case {
        const char* what;
        const char* section;
        const char* key;
        const char* value;
        QByteArray after;
    };
    const Case cases[] = {
        {"existing key, other case", "SYSTEM", "name", "New",
         "; settings\n[System]\nName=New\n; keep me\nOther=1\n\n[Empty]\n; nothing here\n\n"
         "[View]\nZoom=3\n"},
        {"new key after the last key of its section", "System", "Added", "a",
         "; settings\n[System]\nName=Old\n; keep me\nOther=1\nAdded=a\n\n[Empty]\n"
         "; nothing here\n\n[View]\nZoom=3\n"},
        {"new key in a section without keys", "empty", "First", "f",
         "; settings\n[System]\nName=Old\n; keep me\nOther=1\n\n[Empty]\nFirst=f\n"
         "; nothing here\n\n[View]\nZoom=3\n"},
        {"new key in the last section", "View", "Mode", "2",
         "; settings\n[System]\nName=Old\n; keep me\nOther=1\n\n[Empty]\n; nothing here\n\n"
         "[View]\nZoom=3\nMode=2\n"},
        {"new section at the end", "FormPos", "x", "5",
         "; settings\n[System]\nName=Old\n; keep me\nOther=1\n\n[Empty]\n; nothing here\n\n"
         "[View]\nZoom=3\n\n[FormPos]\nx=5\n"},
        {"same value again", "System", "Name", "Old", before},
    };
    for (const Case& c : cases) {
        Put(before);
        IniFile ini(path);
        EXPECT_TRUE(ini.WriteString(c.section, c.key, c.value)) << c.what;
        EXPECT_EQ(Bytes(), c.after) << c.what;
        EXPECT_EQ(ini.ReadString(c.section, c.key, "<def>"), c.value) << c.what;
    }
}

TEST_F(IniFileTest, DuplicateKeyWriteChangesTheFirstAndDeleteRemovesAll) {
    Put("[S]\na=1\nb=2\nA=3\n[T]\na=9\n");
    IniFile ini(path);
    ASSERT_TRUE(ini.WriteInteger("S", "a", 5));
    EXPECT_EQ(Bytes(), "[S]\na=5\nb=2\nA=3\n[T]\na=9\n");
    ASSERT_TRUE(ini.DeleteKey("s", "A"));
    EXPECT_EQ(Bytes(), "[S]\nb=2\n[T]\na=9\n");
    EXPECT_FALSE(ini.ValueExists("S", "a"));
    EXPECT_EQ(ini.ReadInteger("T", "a", 0), 9);
}

TEST_F(IniFileTest, EraseSectionRemovesEveryCopyAndNothingElse) {
    Put("top=1\n[A]\nx=1\n; about B\n[B]\ny=2\n[a]\nz=3\n[C]\nw=4\n");
    IniFile ini(path);
    ASSERT_TRUE(ini.EraseSection("a"));
    EXPECT_EQ(Bytes(), "top=1\n[B]\ny=2\n[C]\nw=4\n");
    EXPECT_FALSE(ini.SectionExists("A"));
    EXPECT_EQ(ini.ReadSections(), QStringList({"B", "C"}));
}

TEST_F(IniFileTest, SectionListsKeepFileOrder) {
    Put("k=0\n[Zeta]\nb=2\na=1\nB=dup\nno key\n; c=3\n[alpha]\n[ZETA]\nlate=1\n[Mid]\nm=\n");
    IniFile ini(path);
    EXPECT_EQ(ini.ReadSections(), QStringList({"Zeta", "alpha", "Mid"}));
    EXPECT_EQ(ini.ReadSection("zeta"), QStringList({"b", "a"}));
    EXPECT_EQ(ini.ReadSectionValues("Zeta"),
              (std::vector<IniValue>{{"b", "2"}, {"a", "1"}}));
    EXPECT_TRUE(ini.ReadSection("alpha").isEmpty());
    EXPECT_EQ(ini.ReadSectionValues("Mid"), (std::vector<IniValue>{{"m", ""}}));
    EXPECT_TRUE(ini.ReadSection("none").isEmpty());
}

TEST_F(IniFileTest, EncodingAndLineBreaksSurviveRewrites) {
    struct Case {
        const char* what;
        QByteArray before;
        QByteArray after;  // after WriteString("S", "k", "é")
        const char* oldValue;
    };
    const QByteArray e = "\xC3\xA9";  // é in UTF-8
    const Case cases[] = {
        {"CRLF file stays CRLF", "[S]\r\nk=1\r\nj=2\r\n", "[S]\r\nk=" + e + "\r\nj=2\r\n", "1"},
        {"mixed breaks follow the first line", "[S]\r\nk=1\nj=2", "[S]\r\nk=" + e + "\r\nj=2\r\n",
         "1"},
        {"LF file stays LF", "[S]\nk=1\n", "[S]\nk=" + e + "\n", "1"},
        {"UTF-8 BOM kept", "\xEF\xBB\xBF[S]\nk=" + e + e + "\n", "\xEF\xBB\xBF[S]\nk=" + e + "\n",
         "\xC3\xA9\xC3\xA9"},
        {"invalid UTF-8 read and kept as Latin-1", "[S]\nk=caf\xE9\njunk \xFF\xFE\x01\n",
         "[S]\nk=\xE9\njunk \xFF\xFE\x01\n", "caf\xC3\xA9"},
        {"UTF-16LE kept", QByteArray("\xFF\xFE[\0S\0]\0\n\0k\0=\0" "1\0\n\0", 18),
         QByteArray("\xFF\xFE[\0S\0]\0\n\0k\0=\0\xE9\0\n\0", 18), "1"},
    };
    for (const Case& c : cases) {
        Put(c.before);
        IniFile ini(path);
        EXPECT_EQ(ini.ReadString("S", "k", "<def>"), QString::fromUtf8(c.oldValue)) << c.what;
        ASSERT_TRUE(ini.WriteString("S", "k", QString::fromUtf8(e))) << c.what;
        EXPECT_EQ(Bytes(), c.after) << c.what;
        EXPECT_EQ(ini.ReadString("S", "k", "<def>"), QString::fromUtf8(e)) << c.what;
    }
}

TEST_F(IniFileTest, LatinOneFileSwitchesToUtf8WhenAValueNeedsIt) {
    Put("[S]\nk=caf\xE9\n");
    IniFile ini(path);
    ASSERT_TRUE(ini.WriteString("S", "j", QString::fromUtf8("\xE2\x82\xAC")));  // €
    EXPECT_EQ(Bytes(), "[S]\nk=caf\xC3\xA9\nj=\xE2\x82\xAC\n");
    EXPECT_EQ(ini.ReadString("S", "k", ""), QString::fromUtf8("caf\xC3\xA9"));
}

TEST_F(IniFileTest, JunkAndLongLinesAreKeptThroughAWrite) {
    QByteArray junk("\x00\x01\x02[\xFF]=\x80\x7F", 9);  // a "key" of control bytes
    const QByteArray longLine = "long=" + QByteArray(1 << 20, 'x');
    const QByteArray before = junk + "\n[S]\n" + longLine + "\n" + junk + "\n";
    Put(before);
    IniFile ini(path);
    EXPECT_EQ(ini.ReadString("S", "long", "").size(), 1 << 20);
    ASSERT_TRUE(ini.WriteString("S", "new", "v"));
    EXPECT_EQ(Bytes(), junk + "\n[S]\n" + longLine + "\n" + junk + "\nnew=v\n");
}

TEST_F(IniFileTest, UnstorableNamesAndValuesAreRefusedWithoutTouchingTheFile) {
    const QByteArray before = "[S]\nk=1\n";
    struct Case {
        const char* section;
        const char* key;
        const char* value;
    };
    const Case cases[] = {
        {"S", "k", "two\nlines"}, {"S", "k", "cr\ronly"},   {"S", "a=b", "1"},
        {"S", "", "1"},           {"S", "  ", "1"},          {"S", "[x]", "1"},
        {"S", ";c", "1"},         {"S", "line\nbreak", "1"}, {"", "k", "1"},
        {"a]b", "k", "1"},        {"two\nlines", "k", "1"},
    };
    for (const Case& c : cases) {
        Put(before);
        IniFile ini(path);
        EXPECT_FALSE(ini.WriteString(c.section, c.key, c.value)) << c.section << "/" << c.key;
        EXPECT_TRUE(ini.errorString().startsWith("Cannot write settings file \"" + path + "\": "))
            << ini.errorString().toStdString();
        EXPECT_EQ(Bytes(), before);
    }
    IniFile ini(path);
    EXPECT_TRUE(ini.WriteString(" S ", " padded ", " v "));
    EXPECT_EQ(Bytes(), "[S]\nk=1\npadded= v \n");
    EXPECT_EQ(ini.ReadString("S", "padded", ""), "v");
    EXPECT_TRUE(ini.errorString().isEmpty());
}

TEST_F(IniFileTest, FailedWriteToReadOnlyFolderKeepsTheOldFile) {
    const QByteArray before = "[S]\nk=1\n";
    Put(before);
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    QFile probe(dir.filePath("probe"));
    if (probe.open(QIODevice::WriteOnly)) {
        probe.close();
        probe.remove();
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        GTEST_SKIP() << "permissions are not enforced for this user";
    }
    IniFile ini(path);
    EXPECT_FALSE(ini.WriteString("S", "k", "2"));
    EXPECT_TRUE(ini.errorString().startsWith("Cannot write settings file \"" + path + "\": "))
        << ini.errorString().toStdString();
    ini.BeginUpdate();
    ini.WriteString("S", "k", "3");
    EXPECT_FALSE(ini.EndUpdate());
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(Bytes(), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"system.dat"}));
}

// A full disk: the file size limit makes the write of the new text fail.
TEST_F(IniFileTest, FailedWriteOnFullDiskKeepsTheOldFile) {
    const QByteArray before = "[S]\nk=1\n";
    Put(before);
    IniFile ini(path);
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 16;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool ok = ini.WriteString("S", "long", QString(100, 'x'));
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(ok);
    EXPECT_TRUE(ini.errorString().startsWith("Cannot write settings file \"" + path + "\": "));
    EXPECT_EQ(Bytes(), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"system.dat"}));
}

TEST_F(IniFileTest, WriteIntoMissingFolderFails) {
    IniFile ini(dir.filePath("no/such/folder/system.dat"));
    EXPECT_FALSE(ini.WriteInteger("S", "k", 1));
    EXPECT_TRUE(ini.errorString().contains("no/such/folder/system.dat"));
}

TEST_F(IniFileTest, UpdateCollectsChangesIntoOneWrite) {
    Put("[S]\nkeep=1\n");
    IniFile ini(path);
    ini.BeginUpdate();
    ini.BeginUpdate();  // nested: only the outermost end writes
    for (int i = 0; i < 200; ++i) ASSERT_TRUE(ini.WriteInteger("S", "k" + QString::number(i), i));
    ini.DeleteKey("S", "keep");
    EXPECT_EQ(ini.ReadInteger("S", "k199", -1), 199);  // reads see the pending changes
    EXPECT_FALSE(ini.ValueExists("S", "keep"));
    EXPECT_TRUE(ini.EndUpdate());
    EXPECT_EQ(Bytes(), "[S]\nkeep=1\n");  // still the old text
    EXPECT_TRUE(ini.EndUpdate());
    const QByteArray after = Bytes();
    EXPECT_TRUE(after.startsWith("[S]\nk0=0\nk1=1\n"));
    EXPECT_TRUE(after.endsWith("k199=199\n"));
    EXPECT_FALSE(after.contains("keep"));
    EXPECT_EQ(IniFile(path).ReadSection("S").size(), 200);
}

TEST_F(IniFileTest, FlushWritesEarlyAndTheUpdateGoesOn) {
    IniFile ini(path);
    ini.BeginUpdate();
    ini.WriteInteger("S", "a", 1);
    EXPECT_TRUE(ini.Flush());
    EXPECT_EQ(Bytes(), "[S]\na=1\n");
    ini.WriteInteger("S", "b", 2);
    EXPECT_EQ(Bytes(), "[S]\na=1\n");
    EXPECT_TRUE(ini.EndUpdate());
    EXPECT_EQ(Bytes(), "[S]\na=1\nb=2\n");
}

TEST_F(IniFileTest, TwoWritersOnOneFileDoNotLoseEachOthersKeys) {
    IniFile record(path);
    IniFile views(path);
    ASSERT_TRUE(record.WriteInteger("SYSTEM", "A", 1));
    // Outside an update every call sees the file as it is now.
    ASSERT_TRUE(views.WriteInteger("System", "ViewZoom", 7));
    EXPECT_EQ(record.ReadInteger("SYSTEM", "ViewZoom", 0), 7);

    record.BeginUpdate();
    record.WriteInteger("SYSTEM", "A", 2);
    ASSERT_TRUE(views.WriteInteger("System", "ViewZoom", 8));  // during the other's update
    ASSERT_TRUE(views.WriteInteger("Other", "x", 1));
    EXPECT_TRUE(record.EndUpdate());
    EXPECT_EQ(Bytes(), "[SYSTEM]\nA=2\nViewZoom=8\n\n[Other]\nx=1\n");
}

TEST(IniFileMemory, FromBytesParsesWithoutAFile) {
    auto ini = IniFile::FromBytes("[S]\r\nk=1\r\n");
    EXPECT_EQ(ini->ReadInteger("S", "k", 0), 1);
    EXPECT_TRUE(ini->WriteString("S", "j", "2"));
    EXPECT_EQ(ini->serialized(), "[S]\r\nk=1\r\nj=2\r\n");
    EXPECT_FALSE(ini->exists());
}

}  // namespace
