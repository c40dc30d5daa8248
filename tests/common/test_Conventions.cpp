#include "DialogConventions.h"
#include "MessageService.h"
#include "ScriptedMessageService.h"
#include "WaitCursor.h"

#include <QApplication>
#include <QDialog>
#include <QGroupBox>
#include <QMessageBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace sw;

namespace {

class MessageServiceTest : public ::testing::Test {
protected:
    void SetUp() override { QGuiApplication::setApplicationDisplayName("Soundwright"); }
};

TEST_F(MessageServiceTest, EveryHelperRecordsKindCaptionTextAndButtons) {
    ScriptedMessageService script{MessageAnswer::Yes, MessageAnswer::No, MessageAnswer::Cancel,
                                  MessageAnswer::Ok, MessageAnswer::Ok, MessageAnswer::Ok,
                                  MessageAnswer::Ok};
    ScopedMessageService use(script);
    EXPECT_TRUE(AskYesNo("Are you sure to quit now?"));
    EXPECT_EQ(AskYesNoCancel("Save changes?"), MessageAnswer::No);
    EXPECT_FALSE(AskOkCancel("Overwrite?"));
    ShowError("a.wav was not found.");
    ShowInformation("Please add the video files you want to convert");
    ShowWarning("Low disk space");
    EXPECT_TRUE(AskOkCancel("Go on?"));

    const QList<Message> expected = {
        {MessageKind::Question, "Soundwright", "Are you sure to quit now?", MessageButtons::YesNo},
        {MessageKind::Question, "Soundwright", "Save changes?", MessageButtons::YesNoCancel},
        {MessageKind::Question, "Soundwright", "Overwrite?", MessageButtons::OkCancel},
        {MessageKind::Error, "Soundwright", "a.wav was not found.", MessageButtons::Ok},
        {MessageKind::Information, "Soundwright",
         "Please add the video files you want to convert", MessageButtons::Ok},
        {MessageKind::Warning, "Soundwright", "Low disk space", MessageButtons::Ok},
        {MessageKind::Question, "Soundwright", "Go on?", MessageButtons::OkCancel},
    };
    ASSERT_EQ(script.messages().size(), expected.size());
    for (int i = 0; i < expected.size(); ++i)
        EXPECT_EQ(script.messages()[i].message, expected[i]) << i;
    EXPECT_FALSE(script.scriptFailed()) << script.failures().join('\n').toStdString();
    EXPECT_EQ(script.remaining(), 0);
}

TEST_F(MessageServiceTest, ExhaustedOrUnfittingScriptIsAFailureAnsweredWithCancelMost) {
    ScriptedMessageService script;
    script.Then(MessageAnswer::Ok);  // not a button of a Yes/No box
    ScopedMessageService use(script);
    struct Case {
        MessageButtons buttons;
        MessageAnswer cancelMost;
    };
    const Case cases[] = {
        {MessageButtons::YesNo, MessageAnswer::No},
        {MessageButtons::YesNoCancel, MessageAnswer::Cancel},
        {MessageButtons::OkCancel, MessageAnswer::Cancel},
        {MessageButtons::Ok, MessageAnswer::Ok},
    };
    for (const Case& c : cases) {
        const MessageAnswer a =
            Messages().Show({MessageKind::Question, "c", "unplanned", c.buttons}, nullptr);
        EXPECT_EQ(a, c.cancelMost) << ToString(c.buttons).toStdString();
    }
    ASSERT_EQ(script.failures().size(), 4);
    EXPECT_TRUE(script.failures()[0].contains("scripted answer OK is not a button"));
    EXPECT_TRUE(script.failures()[1].contains("no scripted answer left"));
    EXPECT_TRUE(script.failures()[1].contains("\"unplanned\""));
    EXPECT_FALSE(script.messages()[0].scripted);
    EXPECT_EQ(script.messages().size(), 4);
}

TEST_F(MessageServiceTest, ScopedServiceRestoresThePreviousOne) {
    MessageService* standard = &Messages();
    ScriptedMessageService outer, inner;
    {
        ScopedMessageService a(outer);
        {
            ScopedMessageService b(inner);
            ShowError("inner");
        }
        ShowError("outer");
    }
    EXPECT_EQ(&Messages(), standard);
    EXPECT_EQ(inner.texts(), QStringList({"inner"}));
    EXPECT_EQ(outer.texts(), QStringList({"outer"}));
}

// The Qt service builds the box with the caption, text, icon and buttons and
// maps the pressed button back.
TEST_F(MessageServiceTest, QtServiceShowsAMessageBoxAndReturnsThePressedButton) {
    QtMessageService qt;
    ScopedMessageService use(qt);
    QString seenTitle, seenText;
    QMessageBox::Icon seenIcon = QMessageBox::NoIcon;
    int seenButtons = 0;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seenTitle = box->windowTitle();
        seenText = box->text();
        seenIcon = box->icon();
        seenButtons = int(box->standardButtons());
        box->button(QMessageBox::No)->click();
    });
    const MessageAnswer a = AskYesNoCancel("Save changes to a.wav?");
    EXPECT_EQ(a, MessageAnswer::No);
    EXPECT_EQ(seenTitle, "Soundwright");
    EXPECT_EQ(seenText, "Save changes to a.wav?");
    EXPECT_EQ(seenIcon, QMessageBox::Question);
    EXPECT_EQ(seenButtons, int(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel));

    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seenIcon = box->icon();
        box->reject();  // closed without a choice
    });
    ShowError("boom");
    EXPECT_EQ(seenIcon, QMessageBox::Critical);
}

TEST(WaitCursor, NestedUsesAreCounted) {
    auto shape = [] {
        const QCursor* c = QApplication::overrideCursor();
        return c ? int(c->shape()) : -1;
    };
    ASSERT_EQ(shape(), -1);
    {
        WaitCursor outer;
        EXPECT_EQ(shape(), int(Qt::WaitCursor));
        {
            WaitCursor inner;
            BeginWait();
            EXPECT_EQ(WaitDepth(), 3);
            EndWait();
        }
        EXPECT_EQ(shape(), int(Qt::WaitCursor));  // still inside the outer use
        EXPECT_EQ(WaitDepth(), 1);
        // Only one override is on the stack: one restore removes it.
        QApplication::setOverrideCursor(Qt::CrossCursor);
        QApplication::restoreOverrideCursor();
        EXPECT_EQ(shape(), int(Qt::WaitCursor));
    }
    EXPECT_EQ(shape(), -1);
    EndWait();  // unmatched: ignored
    EXPECT_EQ(WaitDepth(), 0);
    BeginWait();
    EXPECT_EQ(shape(), int(Qt::WaitCursor));
    EndWait();
    EXPECT_EQ(shape(), -1);
}

TEST(CentredTopLeft, HalvesRoundTowardZero) {
    struct Case {
        QRect owner;
        QSize dialog;
        QPoint expected;
    };
    const Case cases[] = {
        {QRect(100, 50, 980, 560), QSize(400, 300), QPoint(390, 180)},
        {QRect(0, 0, 101, 101), QSize(50, 50), QPoint(25, 25)},        // 51/2 = 25
        {QRect(10, 10, 200, 100), QSize(301, 201), QPoint(-40, -40)},  // -101/2 = -50, not -51
        {QRect(-300, -200, 100, 100), QSize(103, 105), QPoint(-301, -202)},  // -3/2 -1, -5/2 -2
        {QRect(0, 0, 500, 300), QSize(500, 300), QPoint(0, 0)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CentredTopLeft(c.owner, c.dialog), c.expected)
            << c.owner.x() << "," << c.owner.y() << " " << c.dialog.width();
}

TEST(PlaceCentredOver, MovesTheDialogOverItsOwner) {
    QWidget owner;
    owner.setGeometry(100, 50, 980, 560);
    owner.move(100, 50);
    QDialog dialog(&owner);
    dialog.resize(401, 301);
    PlaceCentredOver(&dialog, &owner);
    EXPECT_EQ(dialog.pos(), QPoint(100 + 579 / 2, 50 + 259 / 2));
    EXPECT_EQ(dialog.pos(), QPoint(389, 179));

    QDialog unsized(&owner);  // never resized: takes its preferred size first
    auto* layout = new QVBoxLayout(&unsized);
    layout->addWidget(new QLabel("A label"));
    PlaceCentredOver(&unsized, &owner);
    EXPECT_NE(unsized.size(), QSize(640, 480));  // not the size of a never-sized window
    EXPECT_EQ(unsized.pos(), CentredTopLeft(QRect(100, 50, 980, 560), unsized.size()));
}

TEST(FontSubstitution, TahomaControlsTakeTheHintFamilyThroughTheTree) {
    auto build = [](QWidget& root) {
        root.setFont(QFont("Tahoma", 9));
        auto* group = new QGroupBox("Group", &root);
        auto* inherited = new QLabel("inherits", group);
        inherited->setObjectName("inherited");
        auto* arial = new QLabel("arial", group);
        arial->setObjectName("arial");
        arial->setFont(QFont("Arial", 12));
        auto* deep = new QPushButton("deep", arial);  // Tahoma under a non-Tahoma parent
        deep->setObjectName("deep");
        deep->setFont(QFont("tahoma", 11, QFont::Bold));
    };
    {
        QWidget root;
        build(root);
        EXPECT_GT(SubstituteFontFamily(&root, "DejaVu Sans", true), 0);
        EXPECT_EQ(root.font().family(), "DejaVu Sans");
        EXPECT_EQ(root.font().pointSize(), 9);
        EXPECT_EQ(root.findChild<QLabel*>("inherited")->font().family(), "DejaVu Sans");
        EXPECT_EQ(root.findChild<QLabel*>("arial")->font().family(), "Arial");
        const QFont deep = root.findChild<QPushButton*>("deep")->font();
        EXPECT_EQ(deep.family(), "DejaVu Sans");
        EXPECT_EQ(deep.pointSize(), 11);  // only the family changes
        EXPECT_TRUE(deep.bold());
    }
    const struct {
        const char* family;
        bool installed;
    } unchanged[] = {{"DejaVu Sans", false}, {"Tahoma", true}, {"TAHOMA", true}, {"", true}};
    for (const auto& c : unchanged) {
        QWidget root;
        build(root);
        EXPECT_EQ(SubstituteFontFamily(&root, c.family, c.installed), 0) << c.family;
        EXPECT_EQ(root.findChild<QPushButton*>("deep")->font().family(), "tahoma");
        EXPECT_EQ(root.font().family(), "Tahoma");
    }
}

}  // namespace
