// The input list on the real main window: the add routine, drops, the
// failed-add window and the list actions.
#include <QAbstractButton>
#include <QAction>
#include <QDropEvent>
#include <QMimeData>
#include <QTreeWidget>
#include <QUrl>

#include "../RcFixture.h"
#include "MediaFiles.h"
#include "RunSettings.h"
#include "input/InputRow.h"
#include "input/NextGrid.h"
#include "input/Step1Panel.h"
#include "run/FormLog.h"

using namespace rc;
using rctest::SharedMedia;

namespace {
class InputListTest : public rctest::MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ASSERT_TRUE(SharedMedia().ok);
        Open({{"Download", "0"}, {"MP3", "1"}});
        panel = form_->Step1();
        grid = panel->Grid();
    }
    QString CellText(int col, int row) const { return grid->Cell(col, row).toString(); }
    QStringList LogLines(const QString& prefix) const {
        QStringList out;
        for (const QString& l : form_->Log()->Lines())
            if (l.startsWith(prefix)) out << l;
        return out;
    }
    void Drop(const QStringList& paths) {
        auto* mime = new QMimeData;
        QList<QUrl> urls;
        for (const QString& p : paths) urls << QUrl::fromLocalFile(p);
        mime->setUrls(urls);
        // As a drag from the desktop arrives: enter, then drop, on the window.
        QDragEnterEvent enter(QPoint(400, 300), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(form_.get(), &enter);
        QDropEvent drop(QPointF(400, 300), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(form_.get(), &drop);
        delete mime;
    }
    TStep1Panel* panel = nullptr;
    TNextGrid* grid = nullptr;
};
}  // namespace

TEST_F(InputListTest, AudioThenVideoTextsPerFile) {
    panel->AddFiles({SharedMedia().mp3, SharedMedia().avi});
    ASSERT_EQ(panel->RowCount(), 2);
    EXPECT_EQ(CellText(ColBitrate, 0), "Audio Bit rate: 128 Kbps");
    EXPECT_EQ(CellText(ColDimension, 0), "Audio Encoder: mp3");
    EXPECT_TRUE(CellText(ColBitrate, 1).startsWith("Bit rate: ")) << CellText(ColBitrate, 1).toStdString();
    EXPECT_EQ(CellText(ColDimension, 1), "Dimension: 352 x 288");
    EXPECT_EQ(CellText(ColFileFullName, 1), SharedMedia().avi);
    EXPECT_EQ(CellText(ColVideoEncoder, 1), "Video encoder: mpeg4");
    EXPECT_EQ(CellText(ColAudioEncoder, 1), "Audio encoder: mp3");
    EXPECT_EQ(CellText(ColAudioChannels, 1), "Channels: 1");
    EXPECT_EQ(CellText(ColAudioSampleRate, 1), "Sample rate: 22050 Hz");
    EXPECT_EQ(CellText(ColFrameRate, 1), "Frame rate: 15.00");
    EXPECT_EQ(grid->Cell(ColWidth, 1).toInt(), 352);
    EXPECT_EQ(grid->Cell(ColHeight, 1).toInt(), 288);
    EXPECT_EQ(CellText(ColDuration, 0), "Duration: 00:00:03.0" + CellText(ColDuration, 0).right(2));
    // Audio rows get the built-in picture, video rows a decoded frame.
    EXPECT_EQ(grid->Thumbnail(0), AudioIconImage());
    EXPECT_FALSE(grid->Thumbnail(1).isNull());
    EXPECT_EQ(dialogs_.dialogs().size(), 0);
}

TEST_F(InputListTest, LongFileShowsHoursMinutesSecondsMillis) {
    panel->AddFiles({SharedMedia().longWav});
    ASSERT_EQ(panel->RowCount(), 1);
    EXPECT_EQ(CellText(ColDuration, 0), "Duration: 01:02:03.456");
    EXPECT_EQ(CellText(ColRealDuration, 0), "3723456000");
}

TEST_F(InputListTest, ThreeUnreadableFilesGiveOneWindowWithPathsAndReasons) {
    const auto& m = SharedMedia();
    const QStringList bad = {m.truncated, m.Path("nothing-here.avi"), m.Path("also-missing.mp3")};
    int rows = -1;
    QStringList shown;
    dialogs_.ThenDialog([&](QDialog& d) {
        auto* f = qobject_cast<TFormFailedAddFile*>(&d);
        EXPECT_NE(f, nullptr);
        if (f) rows = f->RowCount();
        if (auto* list = d.findChild<QTreeWidget*>("ListViewFiles"))
            for (int i = 0; i < list->topLevelItemCount(); ++i) shown << list->topLevelItem(i)->text(0);
        EXPECT_EQ(d.windowTitle(), "Failed to Add Files");
        return int(QDialog::Accepted);
    });
    panel->AddFiles({bad[0], m.wav, bad[1], bad[2]});
    EXPECT_EQ(dialogs_.dialogs(), QStringList{"FormFailedAddFile"});
    EXPECT_EQ(rows, 3);
    EXPECT_EQ(shown, bad);
    EXPECT_EQ(panel->RowCount(), 1);
    const QStringList lines = LogLines("File load error: ");
    ASSERT_EQ(lines.size(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(lines[i].startsWith("File load error: " + bad[i] + ": ")) << lines[i].toStdString();
        EXPECT_FALSE(panel->FailedList()[i].Reason.isEmpty());
    }
    // The next batch starts with an empty failed list.
    panel->AddFiles({m.wav});
    EXPECT_TRUE(panel->FailedList().isEmpty());
    EXPECT_EQ(dialogs_.dialogs().size(), 1);
}

TEST_F(InputListTest, DropsSkipFoldersAndMpeg) {
    const auto& m = SharedMedia();
    const QString mpeg = m.Path("copy.mpeg");
    QFile::remove(mpeg);
    ASSERT_TRUE(QFile::copy(m.mp4, mpeg));
    Drop({m.dir.path(), mpeg});
    EXPECT_EQ(panel->RowCount(), 0);
    EXPECT_EQ(dialogs_.dialogs().size(), 0);
    // The same file twice gives two rows.
    Drop({m.mp3, m.mp3});
    EXPECT_EQ(panel->RowCount(), 2);
    // The dialog road takes the .mpeg file.
    dialogs_.ThenFile(mpeg);
    form_->findChild<QAction*>("ActionAdd")->trigger();
    EXPECT_EQ(panel->RowCount(), 3);
    ASSERT_EQ(dialogs_.fileRequests().size(), 1);
    EXPECT_EQ(dialogs_.fileRequests()[0].directory, env_.documentsLocation + "/");
    EXPECT_TRUE(dialogs_.fileRequests()[0].multiSelect);
    EXPECT_EQ(RunSettings().LastOpenDir, m.dir.path() + "/");
}

TEST_F(InputListTest, ListActionsAndTheirEnabling) {
    const auto& m = SharedMedia();
    auto action = [&](const char* name) { return form_->findChild<QAction*>(name); };
    EXPECT_FALSE(action("ActionClear")->isEnabled());
    panel->AddFiles({m.mp3, m.wav, m.avi});
    EXPECT_TRUE(action("ActionClear")->isEnabled());
    EXPECT_FALSE(action("ActionDelete")->isEnabled());
    grid->SelectRow(0);
    EXPECT_TRUE(action("ActionDelete")->isEnabled());
    EXPECT_TRUE(action("ActionPlay")->isEnabled());
    EXPECT_FALSE(action("ActionMoveUp")->isEnabled());
    EXPECT_TRUE(action("ActionMoveDown")->isEnabled());
    action("ActionMoveDown")->trigger();
    EXPECT_EQ(panel->FullNames(), (QStringList{m.wav, m.mp3, m.avi}));
    EXPECT_EQ(grid->SelectedRow(), 1);
    action("ActionMoveUp")->trigger();
    EXPECT_EQ(panel->FullNames(), (QStringList{m.mp3, m.wav, m.avi}));
    action("ActionPlay")->trigger();
    EXPECT_EQ(opened_, QStringList{m.mp3});
    grid->SelectRow(2);
    EXPECT_FALSE(action("ActionMoveDown")->isEnabled());
    action("ActionDelete")->trigger();  // the last row: the new last is selected
    EXPECT_EQ(grid->SelectedRow(), 1);
    grid->SelectRow(0);
    action("ActionDelete")->trigger();  // same index stays selected
    EXPECT_EQ(panel->FullNames(), QStringList{m.wav});
    EXPECT_EQ(grid->SelectedRow(), 0);
    action("ActionClear")->trigger();
    EXPECT_EQ(panel->RowCount(), 0);
    EXPECT_FALSE(action("ActionClear")->isEnabled());
    // Pictures of deleted rows stay in the window's list.
    EXPECT_EQ(panel->Thumbnails().size(), 3);
    EXPECT_FALSE(action("ActionCropTrim")->isVisible());
}

TEST_F(InputListTest, Step1NextAndBackWithRows) {
    panel->AddFiles({SharedMedia().wav});
    auto* next = form_->findChild<QAbstractButton*>("ButtonNext");
    next->click();
    EXPECT_EQ(form_->CurrentPage(), PageStep2);
    messages_.Then(sw::MessageAnswer::Yes);
    form_->findChild<QAbstractButton*>("ButtonExit")->click();
    EXPECT_EQ(messages_.texts().last(), "Are you sure to cancel?");
    EXPECT_EQ(panel->RowCount(), 0);
    EXPECT_EQ(form_->CurrentPage(), PageStep1);
}
