// Opening, saving, inserting and mixing files; failures leave things as they
// were; progress events come in pairs; the information component.
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cmath>
#include <string>

#include "EditorTestUtil.h"
#include "TestSupport.h"
#include "codec/Tags.h"
#include "editor/TAudioInformation2.h"

using namespace edtest;
using sw::SampleCount;

namespace {

class EditorFiles : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        if (!swtest::HaveTool("ffmpeg")) GTEST_SKIP() << "ffmpeg is not installed";
        ed.OnBlockOperation = [this](int p) { events += "B" + std::to_string(p) + " "; };
        ed.OnEndOperation = [this] { events += "E "; };
    }
    std::string Path(const QString& name) const { return (tmp.path() + "/" + name).toStdString(); }
    std::string Tone(const QString& name, double seconds, int rate, int channels,
                     const QStringList& args = {"-c:a", "pcm_s16le"}) {
        const std::string p = Path(name);
        EXPECT_TRUE(swtest::MakeTone(QString::fromStdString(p), seconds, rate, channels, args));
        return p;
    }
    // Every OnBlockOperation run is closed by exactly one OnEndOperation.
    static bool Paired(const std::string& ev) {
        bool open = false;
        for (std::size_t i = 0; i < ev.size(); i = ev.find(' ', i) + 1) {
            if (ev[i] == 'B') open = true;
            else if (ev[i] == 'E') {
                if (!open) return false;
                open = false;
            }
        }
        return !open;
    }
    static QByteArray Bytes(const std::string& p) {
        QFile f(QString::fromStdString(p));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QTemporaryDir tmp;
    std::string events;
};

}  // namespace

TEST_F(EditorFiles, OpenSaveRoundTripsKeepFormatLengthAndSamples) {
    const std::string src = Tone("tone.wav", 0.5, 44100, 2);
    ed.OpenFile(src);
    EXPECT_TRUE(Paired(events));
    EXPECT_NE(events.find("B100"), std::string::npos) << events;
    EXPECT_EQ(ed.FileInfo().SampleRate(), 44100);
    EXPECT_EQ(ed.FileInfo().Channels(), 2);
    EXPECT_EQ(ed.Position().Length(), 22050);
    EXPECT_EQ(ed.FileInfo().Description(), "44100 Hz, 32-bit float, Stereo");
    EXPECT_FALSE(ed.CanUndo());
    const Flat opened = Read(ed);
    float peak = 0;
    for (float v : opened[0]) peak = std::max(peak, std::abs(v));
    EXPECT_GT(peak, 0.05f);   // ffmpeg's sine is at 1/8 of full scale

    // WAV 16 bits: the same samples to 16-bit precision.
    ed.FileFormat().SetWaveFormat(44100, 2, 16);
    const std::string wav = Path("out.wav");
    events.clear();
    ed.SaveFile(wav, false, sw::FormatWav);
    EXPECT_TRUE(Paired(events)) << events;
    sw::TAudioEditor2 other;
    other.OpenFile(wav);
    ASSERT_EQ(other.Position().Length(), 22050);
    const Flat back = Read(other);
    for (int c = 0; c < 2; ++c)
        for (std::size_t i = 0; i < back[0].size(); ++i)
            ASSERT_NEAR(back[std::size_t(c)][i], opened[std::size_t(c)][i], 1.0 / 32768 + 1e-6) << i;

    // The selection only.
    Select(ed, 1000, 12025);
    ed.SaveFile(Path("part.wav"), true, sw::FormatWav);
    other.OpenFile(Path("part.wav"));
    EXPECT_EQ(other.Position().Length(), 11025);

    // Compressed formats, checked by ffprobe.
    struct Case {
        int code;
        const char* name;
        const char* codec;
    };
    ed.FileFormat().SetMp3Cbr(44100, 128, 2);
    ed.FileFormat().SetOggFormat(44100, 2, 128, 0, 0, -1);
    for (const Case& c : {Case{sw::FormatMp3, "out.mp3", "mp3"}, Case{sw::FormatOgg, "out.ogg", "vorbis"}}) {
        ed.SaveFile(Path(c.name), false, c.code);
        const auto probe = swtest::Probe(QString::fromStdString(Path(c.name)));
        ASSERT_TRUE(probe.ok) << c.name;
        EXPECT_EQ(probe.codec, c.codec);
        EXPECT_EQ(probe.sampleRate, 44100);
        EXPECT_EQ(probe.channels, 2);
        EXPECT_NEAR(probe.duration, 0.5, 0.1) << c.name;
        other.OpenFile(Path(c.name));
        EXPECT_NEAR(double(other.Position().Length()), 22050, 4410) << c.name;
    }
    EXPECT_THROW(ed.SaveFile(Path("x.aiff"), false, 3), sw::EngineError);
}

TEST_F(EditorFiles, TagsAreReadOnOpenAndWrittenOnSave) {
    const std::string src = Tone("tagged.mp3", 0.3, 44100, 2,
                                 {"-c:a", "libmp3lame", "-b:a", "128k", "-metadata", "title=Morning",
                                  "-metadata", "artist=Someone"});
    ed.OpenFile(src);
    EXPECT_EQ(ed.FileInfo().Title(), "Morning");
    EXPECT_EQ(ed.FileInfo().Artist(), "Someone");
    ed.FileInfo().SetTitle("Evening");
    ed.FileInfo().SetAlbum("Days");
    ed.FileInfo().SetYear(2024);
    ed.FileInfo().SetGenre(17);
    ed.FileFormat().SetMp3Cbr(44100, 128, 2);
    ed.SaveFile(Path("retagged.mp3"), false, sw::FormatMp3);
    const sw::AudioTags tags = sw::ReadTags(Path("retagged.mp3"));
    EXPECT_EQ(tags.Title, "Evening");
    EXPECT_EQ(tags.Artist, "Someone");
    EXPECT_EQ(tags.Album, "Days");
    EXPECT_EQ(tags.Year, 2024);
    EXPECT_EQ(tags.Genre, 17);
    ed.CreateNew(44100, 2);
    EXPECT_EQ(ed.FileInfo().Title(), "");
}

TEST_F(EditorFiles, SavingOverTheOpenFileWorks) {
    const std::string src = Tone("self.wav", 1.0, 8000, 1);
    ed.OpenFile(src);
    Select(ed, 0, 4000);
    ed.DeleteSelection();
    const Flat kept = Read(ed);
    ed.FileFormat().SetWaveFormat(8000, 1, 16);
    ed.SaveFile(src, false, sw::FormatWav);
    // The document still reads its own samples after the file was replaced.
    EXPECT_EQ(Read(ed), kept);
    ed.Undo();
    EXPECT_EQ(ed.Position().Length(), 8000);
    sw::TAudioEditor2 other;
    other.OpenFile(src);
    EXPECT_EQ(other.Position().Length(), 4000);
}

TEST_F(EditorFiles, AFailedOpenKeepsThePreviousDocument) {
    const std::string src = Tone("keep.wav", 0.2, 8000, 2);
    ed.OpenFile(src);
    Select(ed, 0, 100);
    ed.DeleteSelection();
    ed.FileInfo().SetTitle("Kept");
    ed.Markers().AddMarker(10, 0, "m", "Bookmark");
    const Flat before = Read(ed);

    QFile junk(QString::fromStdString(Path("junk.mp3")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'x'));
    junk.close();
    int failures = 0;
    for (const std::string& bad : {Path("missing.wav"), Path("junk.mp3")}) {
        events.clear();
        try {
            ed.OpenFile(bad);
        } catch (const sw::EngineError& e) {
            ++failures;
            EXPECT_STRNE(e.what(), "");
        }
        EXPECT_TRUE(Paired(events)) << bad << ": " << events;
        EXPECT_FALSE(events.empty()) << bad;
    }
    EXPECT_EQ(failures, 2);

    // A failure half-way (here the progress handler gives up) as well.
    ed.OnBlockOperation = [this](int p) {
        events += "B" + std::to_string(p) + " ";
        if (p > 0) throw sw::EngineError("stopped");
    };
    const std::string longer = Tone("longer.wav", 30, 8000, 2);
    events.clear();
    EXPECT_THROW(ed.OpenFile(longer), sw::EngineError);
    EXPECT_TRUE(Paired(events)) << events;

    EXPECT_TRUE(ed.IsOpen());
    EXPECT_EQ(Read(ed), before);
    EXPECT_EQ(ed.FileInfo().Title(), "Kept");
    EXPECT_EQ(ed.Markers().MarkerCount(), 1);
    EXPECT_TRUE(ed.CanUndo());
}

TEST_F(EditorFiles, AFailedSaveKeepsTheOldFile) {
    const std::string target = Tone("old.wav", 0.2, 8000, 1);
    const QByteArray old = Bytes(target);
    ed.OpenFile(Tone("new.wav", 30, 8000, 2));
    ed.FileFormat().SetWaveFormat(8000, 2, 16);
    // The save stops part-way through.
    ed.OnBlockOperation = [this](int p) {
        events += "B" + std::to_string(p) + " ";
        if (p > 0) throw sw::EngineError("stopped");
    };
    events.clear();
    EXPECT_THROW(ed.SaveFile(target, false, sw::FormatWav), sw::EngineError);
    EXPECT_TRUE(Paired(events)) << events;
    EXPECT_EQ(Bytes(target), old);
    // No temporary file is left beside it.
    EXPECT_EQ(QDir(tmp.path()).entryList(QDir::Files).size(), 2) << QDir(tmp.path()).entryList(QDir::Files).join(",").toStdString();

    // An unwritable target (its folder does not exist).
    ed.OnBlockOperation = [this](int p) { events += "B" + std::to_string(p) + " "; };
    events.clear();
    EXPECT_THROW(ed.SaveFile(Path("no/such/folder/x.wav"), false, sw::FormatWav), sw::EngineError);
    EXPECT_TRUE(Paired(events)) << events;
}

TEST_F(EditorFiles, InsertAndMixConvertFilesAndMatchTheInformationLength) {
    // A 16000 Hz stereo file into an 8000 Hz mono document.
    const std::string file = Tone("ins.wav", 0.5, 16000, 2);
    ed.CreateNew(8000, 1);
    ed.Transform().InsertSilence(1000);
    sw::TAudioInformation2 info(&ed);
    info.InfoOpen(file);
    EXPECT_EQ(info.InfoSampleRate(), 16000);
    EXPECT_EQ(info.InfoChannels(), 2);
    const SampleCount f = info.InfoLength();
    EXPECT_EQ(f, 4000);
    Cursor(ed, 2000);
    events.clear();
    ed.InsertFile(file);
    EXPECT_TRUE(Paired(events)) << events;
    EXPECT_EQ(ed.Position().Length(), 8000 + f);
    EXPECT_EQ(ed.Position().CurrentPosition(), 2000);
    const Flat got = Read(ed);
    EXPECT_EQ(got[0][1999], 0.0f);
    float peak = 0;
    for (SampleCount i = 2000; i < 2000 + f; ++i) peak = std::max(peak, std::abs(got[0][std::size_t(i)]));
    EXPECT_GT(peak, 0.05f);   // ffmpeg's sine is at 1/8 of full scale

    // Mix File as the main window pads a short selection to the file length.
    const SampleCount s = 100, e = 1100;
    Select(ed, s, e);
    ed.Position().SetHasSelection(false);
    ed.Position().SetCurrentPosition(ed.Position().SelEnd());
    ed.Transform().InsertSilence(ed.Position().SamplesToMs(f + s - e));
    Select(ed, s, s + f);
    events.clear();
    ed.MixFile(file, 100, 0);
    EXPECT_TRUE(Paired(events)) << events;
    EXPECT_EQ(ed.Position().Length(), 8000 + 2 * f - (e - s));
    const Flat mixed = Read(ed);
    // The mixed range now holds the file, the same as the inserted copy.
    for (SampleCount i = 0; i < f; ++i)
        ASSERT_FLOAT_EQ(mixed[0][std::size_t(s + i)], got[0][std::size_t(2000 + i)]) << i;

    // Without an editor, a reference rate.
    sw::TAudioInformation2 alone;
    alone.SetReferenceRate(44100);
    alone.InfoOpen(file);
    EXPECT_EQ(alone.InfoLength(), 22050);
    EXPECT_THROW(alone.InfoOpen(Path("missing.ogg")), sw::EngineError);
    EXPECT_EQ(alone.InfoSampleRate(), 16000);
}

TEST_F(EditorFiles, InformationCopiesTagsIntoAnotherFile) {
    const std::string from = Tone("from.mp3", 0.2, 44100, 1,
                                  {"-c:a", "libmp3lame", "-metadata", "title=Source", "-metadata", "album=Disc"});
    const std::string to = Tone("to.ogg", 0.2, 44100, 1, {"-c:a", "libvorbis"});
    sw::TAudioInformation2 info;
    info.InfoOpen(from);
    info.InfoWriteTo(to);
    const sw::AudioTags tags = sw::ReadTags(to);
    EXPECT_EQ(tags.Title, "Source");
    EXPECT_EQ(tags.Album, "Disc");
    EXPECT_THROW(sw::TAudioInformation2().InfoWriteTo(to), sw::EngineError);
}
