#include "FormMain.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>
#include <QScreen>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QWindow>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/avutil.h>
#include <libswscale/swscale.h>
}

#include "DialogService.h"
#include "IniFile.h"
#include "Layout.h"
#include "MessageService.h"
#include "RunSettings.h"
#include "Shell.h"
#include "SkinButton.h"
#include "WindowPosition.h"
#include "formats/Step2Panel.h"
#include "input/InputRow.h"
#include "input/Step1Panel.h"
#include "input/Step1Panel.h"
#include "run/ConversionRun.h"
#include "run/FormAbout.h"
#include "run/FormLog.h"

namespace rc {

namespace {

constexpr int kClientWidth = 772;
constexpr int kClientHeight = 547;
constexpr int kPageWidth = 556;
constexpr int kPageHeight = 430;
const QPoint kVersionPlace{20, 462};
const QPoint kMoreToolsPlace{20, 478};

const char* const kSheetNames[PageCount] = {"TabSheetMode",  "TabSheetStep1", "TabSheetStep2",
                                            "TabSheetStep3", "TabSheetStep4", "TabSheetStep5",
                                            "TabSheetStep6", "TabSheetStep7"};

QString VersionText(unsigned v) {
    return QStringLiteral("%1.%2.%3").arg(AV_VERSION_MAJOR(v)).arg(AV_VERSION_MINOR(v)).arg(AV_VERSION_MICRO(v));
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text = {}) {
    auto* l = new QLabel(text, parent);
    if (name) l->setObjectName(name);
    return l;
}

}  // namespace

TPageCaptions PageCaptionsFor(int page, const QString& title, bool download, bool merge) {
    switch (page) {
    case PageMode:
        return {QStringLiteral("Welcome to %1! What do you want to do?").arg(title), "Next", true, false, "Exit"};
    case PageStep1:
        return {"Select the videos you want to convert. Use \"Move Up\" and \"Move Down\" to change the order.",
                "Next", true, download, download ? "Cancel" : "Exit"};
    case PageStep2:
        return {"Select an output mode and specify a path for the output files.", merge ? "Join Now" : "Convert",
                true, true, "Cancel"};
    case PageStep3: return {"Conversion information.", "Next", false, false, "Cancel"};
    case PageStep4: return {"The conversion is finished.", "Finish", true, false, "Exit"};
    case PageStep5:
        return {"Copy a YouTube link from your browser address bar and Paste here", "Download", true, true, "Cancel"};
    case PageStep6: return {"Downloading information.", "Next", false, false, "Cancel"};
    case PageStep7: return {"The downloading is finished.", "Finish", true, false, "Exit"};
    default: return {};
    }
}

TMoreToolsCaptions MoreToolsCaptions(bool shortWording) {
    if (shortWording) return {"more tools...", "More Tools..."};
    return {"more free tools...", "More Free Tools..."};
}

QString LinkedLibrariesText() {
    return QStringLiteral("FFmpeg libraries: libavformat %1, libavcodec %2, libavutil %3, libswscale %4")
        .arg(VersionText(avformat_version()), VersionText(avcodec_version()), VersionText(avutil_version()),
             VersionText(swscale_version()));
}

TFormMain::TFormMain(const TFormMainOptions& options, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), options_(options) {
    programDir_ = options.ProgramDir.isEmpty() ? ProgramDir() : options.ProgramDir;
    setObjectName("FormMain");
    log_ = new TFormLog(nullptr);

    // 1. Profile, captions, pictures, layout.
    profile_ = TProfile::ReadFrom(programDir_);
    identity_ = IdentityFor(profile_.Name);
    setWindowTitle(profile_.Name);
    images_ = TImageSet::Load(TImageSet::FolderFor(programDir_, profile_.Res));
    BuildWindow();
    BuildPages();
    ApplyLayoutVariant();
    FitWindowToLayout();
    step2_->ApplyProfile(profile_);

    // 2. The companion builds show no version, links, help or log.
    if (identity_.Companion)
        for (QWidget* w : {static_cast<QWidget*>(labelVersion_), static_cast<QWidget*>(labelMoreTools_),
                           static_cast<QWidget*>(buttonHelp_), static_cast<QWidget*>(buttonLog_)})
            w->hide();

    // 3-5. Settings folder, defaults, settings file.
    const sw::FolderEnvironment env = options.Folders ? *options.Folders : sw::FolderEnvironment::System();
    const QString folder = SettingsFolder(env, profile_.Name);
    settingsFile_ = folder + kSettingsFileName;
    TRunSettings& s = RunSettings();
    s = TRunSettings::Defaults(profile_, IncludeTrailingBackslash(PersonalFolder(env)));
    QString error;
    settingsWereNew_ = !LoadOrCreateSettings(settingsFile_, s, &error);
    if (!error.isEmpty()) AppendLog(error);
    if (settingsWereNew_) CentreOnScreen();
    log_->SetSettingsFile(settingsFile_, options.Screen);

    // 6. Input list and drops.
    setAcceptDrops(true);

    // 7. Position.
    {
        const sw::IniFile ini(settingsFile_);
        sw::ReadWindowPosition(ini, kMainFormSection, this, sw::WindowPositionStyle::MoveOnly, ScreenArea());
    }

    // 8. Captions; 9. the media libraries are linked: note their versions.
    step2_->ShowChoice(s);
    AppendLog(LinkedLibrariesText());

    // 10. Clipboard watch.
    if (QClipboard* cb = QGuiApplication::clipboard()) {
        connect(cb, &QClipboard::dataChanged, this, &TFormMain::ClipboardChanged);
        watchingClipboard_ = true;
        ClipboardChanged();
    }

    // 11. Start page.
    GoToPage(StartPage());
    PostUserMessage(1);
}

TFormMain::~TFormMain() { delete log_; }

QRect TFormMain::ScreenArea() const {
    return options_.Screen.isValid() ? options_.Screen : sw::PrimaryScreenArea();
}

void TFormMain::CentreOnScreen() {
    const QRect screen = ScreenArea();
    if (!screen.isValid()) return;
    move(screen.left() + (screen.width() - width()) / 2, screen.top() + (screen.height() - height()) / 2);
}

void TFormMain::BuildWindow() {
    const QSize client = images_.Main.isNull() ? QSize(kClientWidth, kClientHeight) : images_.Main.size();
    setFixedSize(client);
    if (!images_.Shape.isNull()) setMask(images_.Shape);
    QFont f = font();
    f.setPointSizeF(9);
    setFont(f);

    imageTopLogo_ = MakeLabel(this, "ImageTopLogo");
    imageTopLogo_->setPixmap(images_.TopLogo);
    imageTopLogo_->setGeometry(QRect(QPoint(14, 4), images_.TopLogo.isNull() ? QSize(300, 36) : images_.TopLogo.size()));
    imageLeftLogo_ = MakeLabel(this, "ImageLeftLogo");
    imageLeftLogo_->setPixmap(images_.LeftLogo);
    imageLeftLogo_->setGeometry(QRect(QPoint(10, 96), images_.LeftLogo.isNull() ? QSize(180, 180) : images_.LeftLogo.size()));
    for (QLabel* l : {imageTopLogo_, imageLeftLogo_}) l->installEventFilter(this);

    labelTitle_ = MakeLabel(this, "LabelTitle");
    labelTitle_->resize(720, 22);
    labelVersion_ = MakeLabel(this, "LabelVersion", QStringLiteral("Version: %1").arg(profile_.Version));
    labelVersion_->setGeometry(QRect(kVersionPlace, QSize(176, 16)));
    labelMoreTools_ = MakeLabel(this, "LabelMoreTools", MoreToolsCaptions(identity_.ShortMoreTools).Link);
    labelMoreTools_->setGeometry(QRect(kMoreToolsPlace, QSize(176, 16)));
    labelMoreTools_->setCursor(Qt::PointingHandCursor);
    labelMoreTools_->installEventFilter(this);

    auto chrome = [&](const char* name, const std::array<QPixmap, 3>& pics) {
        auto* b = new TSkinButton(this);
        b->setObjectName(name);
        b->SetPictures({pics[0], pics[1], pics[2]}, QSize(28, 22));
        return b;
    };
    buttonMin_ = chrome("ButtonMin", images_.Min);
    buttonClose_ = chrome("ButtonClose", images_.Close);
    connect(buttonMin_, &QAbstractButton::clicked, this, [this] { showMinimized(); });
    connect(buttonClose_, &QAbstractButton::clicked, this, [this] { close(); });

    auto bottom = [&](const char* name, const QString& text) {
        auto* b = new TSkinButton(this);
        b->setObjectName(name);
        b->setText(text);
        b->SetPictures({images_.Bottom[0], images_.Bottom[1], images_.Bottom[2], images_.Bottom[3]});
        return b;
    };
    buttonHelp_ = bottom("ButtonHelp", "Help");
    buttonLog_ = bottom("ButtonLog", "Log");
    buttonBack_ = bottom("ButtonBack", "Back");
    buttonNext_ = bottom("ButtonNext", "Next");
    buttonExit_ = bottom("ButtonExit", "Exit");
    connect(buttonHelp_, &QAbstractButton::clicked, this, &TFormMain::ButtonHelpClick);
    connect(buttonLog_, &QAbstractButton::clicked, this, &TFormMain::ButtonLogClick);
    connect(buttonBack_, &QAbstractButton::clicked, this, &TFormMain::ButtonBackClick);
    connect(buttonNext_, &QAbstractButton::clicked, this, &TFormMain::ButtonNextClick);
    connect(buttonExit_, &QAbstractButton::clicked, this, &TFormMain::ButtonExitClick);

    // Actions of the window and the help menu.
    auto action = [&](const char* name, const QString& text, const QKeySequence& key, auto handler) {
        auto* a = new QAction(text, this);
        a->setObjectName(name);
        if (!key.isEmpty()) a->setShortcut(key);
        addAction(a);
        connect(a, &QAction::triggered, this, handler);
        return a;
    };
    action("ActionBack", "Back", {}, [this] { if (buttonBack_->isEnabled()) ButtonBackClick(); });
    action("ActionNext", "Next", {}, [this] { if (buttonNext_->isEnabled()) ButtonNextClick(); });
    action("ActionExit", "Exit", QKeySequence("Alt+F4"), [this] { ButtonExitClick(); });
    action("ActionLog", "Log", {}, [this] { ButtonLogClick(); });
    action("ActionHelp", "Help", {}, [this] { ButtonHelpClick(); });
    QAction* content = action("ActionHelpContent", "Help Content", QKeySequence(Qt::Key_F1),
                              [this] { ShellOpen(identity_.HelpContent); });
    QAction* howTos = action("ActionHowTosTutorialVideos", "How Tos && Tutorial Videos...", {},
                             [this] { ShellOpen(identity_.HowTos); });
    QAction* home = action("ActionHomePage", "Home Page", {}, [this] { ShellOpen(identity_.HomePage); });
    actionMoreTools_ = action("ActionMoreFreeTools", MoreToolsCaptions(identity_.ShortMoreTools).Action, {},
                              [this] { ShellOpen(identity_.MoreTools); });
    QAction* updates = action("ActionCheckforUpdates", "Check for Updates...", {},
                              [this] { ShellOpen(identity_.Updates); });
    QAction* support = action("ActionContactTechnicalSupport", "Contact Technical Support...", {},
                              [this] { ShellOpen(identity_.Support); });
    QAction* about = action("ActionAbout", "About", {}, [this] { ActionAboutExecute(); });

    helpMenu_ = new QMenu(this);
    helpMenu_->setObjectName("PopupMenuHelp");
    helpMenu_->addAction(content);
    helpMenu_->addAction(howTos);
    helpMenu_->addSeparator();
    QAction* homeItem = helpMenu_->addAction("Home Page...");
    homeItem->setObjectName("MenuItemHomePage");
    connect(homeItem, &QAction::triggered, home, &QAction::trigger);
    helpMenu_->addAction(actionMoreTools_);
    helpMenu_->addSeparator();
    helpMenu_->addAction(updates);
    helpMenu_->addAction(support);
    helpMenu_->addSeparator();
    helpMenu_->addAction(about);

    pages_ = new QStackedWidget(this);
    pages_->setObjectName("PageControlMain");
    pages_->resize(kPageWidth, kPageHeight);
    connect(pages_, &QStackedWidget::currentChanged, this, [this] { UpdateCaptions(); });
}

void TFormMain::BuildPages() {
    for (int p = 0; p < PageCount; ++p) {
        auto* sheet = new QWidget;
        sheet->setObjectName(kSheetNames[p]);
        pages_->addWidget(sheet);
        sheets_[p] = sheet;
    }
    const QString title = profile_.Name;

    // Mode: the two roads, each with a picture that chooses it.
    QWidget* mode = sheets_[PageMode];
    radioDownload_ = new QRadioButton("Download video from YouTube", mode);
    radioDownload_->setObjectName("RadioButtonDownloadVideo");
    radioConvert_ = new QRadioButton("Convert audio/video (previously downloaded) from file", mode);
    radioConvert_->setObjectName("RadioButtonConvertVideo");
    radioDownload_->setChecked(true);
    auto* imageDownload = MakeLabel(mode, "ImageDownloadVideo");
    imageDownload->setPixmap(images_.DownloadYouTube);
    auto* imageConvert = MakeLabel(mode, "ImageConvertVideo");
    imageConvert->setPixmap(images_.YouTubeConvert);
    imageDownload->setGeometry(60, 90, 64, 64);
    imageConvert->setGeometry(60, 210, 64, 64);
    radioDownload_->setGeometry(140, 110, 400, 24);
    radioConvert_->setGeometry(140, 230, 400, 24);
    for (QLabel* l : {imageDownload, imageConvert}) {
        l->setCursor(Qt::PointingHandCursor);
        l->installEventFilter(this);
    }

    // Step1: the input list.
    step1_ = new TStep1Panel(sheets_[PageStep1]);
    step1_->setGeometry(0, 0, kPageWidth, kPageHeight);
    step1_->SetLog([this](const QString& line) { AppendLog(line); });
    step1_->SetSupportAddress(identity_.Support);
    step1_->SetOwnerWindow(this);

    // Step2: output choice.
    step2_ = new TStep2Panel(sheets_[PageStep2]);
    step2_->setGeometry(0, 0, kPageWidth, kPageHeight);

    // Step3: finish options of the run.
    QWidget* s3 = sheets_[PageStep3];
    checkPlaySound_ = new QCheckBox("&Play a sound when conversion is finished", s3);
    checkPlaySound_->setObjectName("CheckBoxPlayASound");
    checkPlaySound_->setGeometry(18, 330, 520, 22);
    checkShutdown_ = new QCheckBox("&Shut down the computer after all tasks are finished", s3);
    checkShutdown_->setObjectName("CheckBoxShutdown");
    checkShutdown_->setGeometry(18, 356, 520, 22);
    connect(checkPlaySound_, &QCheckBox::clicked, this,
            [](bool on) { RunSettings().PlayASoundWhenFinished = on; });
    connect(checkShutdown_, &QCheckBox::clicked, this, [](bool on) { RunSettings().ShutDownWhenFinished = on; });
    run_ = new TConversionRun(this, s3, sheets_[PageStep4], step1_->Grid());

    // Step4 and Step7: the finish pages.
    const QString again = QStringLiteral("To convert other files, click \"Finish\". Click \"Exit\" to quit %1.").arg(title);
    auto finish = [&](QWidget* sheet, const char* name1, const QString& text1, const char* name2) {
        auto* l1 = MakeLabel(sheet, name1, text1);
        QFont f = l1->font();
        f.setBold(true);
        f.setPointSizeF(f.pointSizeF() + 2);
        l1->setFont(f);
        l1->setWordWrap(true);
        l1->setGeometry(18, 20, 520, 48);
        auto* l2 = MakeLabel(sheet, name2, again);
        l2->setWordWrap(true);
        l2->setGeometry(18, 72, 520, 40);
    };
    finish(sheets_[PageStep4], "LabelFinishTitle1", QStringLiteral("%1 has finished the conversion.").arg(title),
           "LabelFinishTitle2");
    finish(sheets_[PageStep7], "LabelFinishedDownloading1",
           QStringLiteral("%1 has finished the downloading.").arg(title), "LabelFinishedDownloading2");

    // Step5: addresses, download folder and quality preference.
    QWidget* s5 = sheets_[PageStep5];
    auto* urls = MakeLabel(s5, "GroupBoxInputURL", " Input URLs ");
    urls->setGeometry(18, 10, 300, 18);
    listURL_ = new QTreeWidget(s5);
    listURL_->setObjectName("ListViewInputURL");
    listURL_->setHeaderHidden(true);
    listURL_->setColumnCount(1);
    listURL_->setColumnWidth(0, 390);
    listURL_->setRootIsDecorated(false);
    listURL_->setGeometry(18, 32, 520, 240);
    auto* out = MakeLabel(s5, nullptr, "Output folder:");
    out->setGeometry(18, 290, 200, 18);
    editURLOutput_ = new QLineEdit(s5);
    editURLOutput_->setObjectName("EditURLOutput");
    editURLOutput_->setGeometry(18, 312, 420, 24);
    checkQuality_ = new QCheckBox("Prefer YouTube high quality", s5);
    checkQuality_->setObjectName("CheckBoxYouTubeQuality");
    checkQuality_->setGeometry(18, 350, 400, 22);
    const TRunSettings& s = RunSettings();
    editURLOutput_->setText(s.OutputURLDir);
    checkQuality_->setChecked(s.PreferYouTubeQuality);
}

void TFormMain::ApplyLayoutVariant() {
    const TLayoutVariant& v = LayoutVariant(profile_.SkinVariant());
    buttonMin_->setVisible(v.ChromeVisible);
    buttonClose_->setVisible(v.ChromeVisible);
    buttonMin_->move(v.Min);
    buttonClose_->move(v.Close);
    buttonHelp_->move(v.Help);
    buttonHelp_->setProperty("tag", v.HelpTag);
    buttonLog_->move(v.Log);
    buttonBack_->move(v.BackLeft, v.WizardTop);
    buttonNext_->move(v.NextLeft, v.WizardTop);
    buttonExit_->move(v.ExitLeft, v.WizardTop);
    pages_->move(v.PageControl);
    labelTitle_->move(v.Title);
    QFont f = labelTitle_->font();
    f.setBold(v.TitleBold);
    f.setPointSizeF(10.5);
    labelTitle_->setFont(f);
    // Variant 1 puts the title below the header band, on the light face.
    labelTitle_->setStyleSheet(profile_.SkinVariant() == 1 ? "color: #16345c;" : "color: #ffffff;");
    const QString colour = QStringLiteral("color: %1;").arg(v.InfoColour.name());
    labelVersion_->setStyleSheet(colour);
    labelMoreTools_->setStyleSheet(colour + " text-decoration: underline;");
    if (v.VersionTop >= 0) labelVersion_->move(labelVersion_->x(), v.VersionTop);
    if (v.MoreToolsTop >= 0) labelMoreTools_->move(labelMoreTools_->x(), v.MoreToolsTop);
    if (v.InfoInFront) {
        labelVersion_->raise();
        labelMoreTools_->raise();
    }
    for (TSkinButton* b : {buttonHelp_, buttonLog_, buttonBack_, buttonNext_, buttonExit_})
        b->SetTransparentStyle(v.TransparentButtons);
}

void TFormMain::FitWindowToLayout() {
    // A layout variant may place elements beyond the face of the image set
    // (variant 1 on a 772 by 547 face): the window then grows to hold them
    // and the face is stretched to it, so no button ends up outside.
    QRect used;
    for (QWidget* w : {static_cast<QWidget*>(pages_), static_cast<QWidget*>(buttonExit_),
                       static_cast<QWidget*>(buttonNext_), static_cast<QWidget*>(buttonHelp_),
                       static_cast<QWidget*>(buttonClose_)})
        if (!w->isHidden()) used |= w->geometry();
    const QSize need(std::max(width(), used.right() + 1 + 8), std::max(height(), used.bottom() + 1 + 8));
    if (need == size()) return;
    setFixedSize(need);
    if (!images_.Main.isNull()) {
        const QImage face = images_.Main.toImage().scaled(need, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        images_.Main = QPixmap::fromImage(face);
        images_.Shape = ShapeFromFace(face);
        setMask(images_.Shape);
    }
}

int TFormMain::CurrentPage() const { return pages_->currentIndex(); }

void TFormMain::GoToPage(int page) {
    if (page < 0 || page >= PageCount) return;
    if (pages_->currentIndex() == page)
        UpdateCaptions();  // going there always refreshes the captions
    else
        pages_->setCurrentIndex(page);
}

void TFormMain::UpdateCaptions() {
    const TPageCaptions c = PageCaptionsFor(CurrentPage(), profile_.Name, profile_.Download, profile_.Merge);
    labelTitle_->setText(c.Title);
    // Long titles take a smaller font rather than being cut at the window's edge.
    QFont f = labelTitle_->font();
    f.setPointSizeF(10.5);
    const int room = width() - labelTitle_->x() - 12;
    while (f.pointSizeF() > 7.5 && QFontMetrics(f).horizontalAdvance(c.Title) > room) f.setPointSizeF(f.pointSizeF() - 0.5);
    labelTitle_->setFont(f);
    labelTitle_->resize(room, labelTitle_->height());
    buttonNext_->setText(c.Next);
    buttonNext_->setEnabled(c.NextEnabled);
    buttonBack_->setText("Back");
    buttonBack_->setEnabled(c.BackEnabled);
    buttonExit_->setText(c.Exit);
    buttonExit_->setEnabled(true);
}

void TFormMain::AppendLog(const QString& line) { log_->AppendLine(line); }

void TFormMain::PostUserMessage(int n) {
    QMetaObject::invokeMethod(this, [this, n] { HandleUserMessage(n); }, Qt::QueuedConnection);
}

void TFormMain::HandleUserMessage(int n) {
    switch (n) {
    case 1: {
        show();
        const TMoreToolsCaptions c = MoreToolsCaptions(identity_.ShortMoreTools);
        labelMoreTools_->setText(c.Link);
        actionMoreTools_->setText(c.Action);
        break;
    }
    case 2: emit StartRunRequested(); break;
    case 3:
        emit RunFinished();  // finish actions, then the summary page
        GoToPage(PageStep4);
        break;
    case 4: emit NextDownloadRequested(); break;
    case 5: emit NextQualityRequested(); break;
    default: break;
    }
}

void TFormMain::ClipboardChanged() {
    const QClipboard* cb = QGuiApplication::clipboard();
    const QMimeData* mime = cb ? cb->mimeData() : nullptr;
    clipboardHasText_ = mime && mime->hasText() && !mime->text().isEmpty();
}

void TFormMain::ClearAddressList() { listURL_->clear(); }

void TFormMain::ButtonNextClick() {
    TRunSettings& s = RunSettings();
    switch (CurrentPage()) {
    case PageMode:
        if (radioDownload_->isChecked()) {
            GoToPage(PageStep5);
            emit LoadDownloadPageRequested();
        } else {
            GoToPage(PageStep1);
        }
        break;
    case PageStep1:
        if (step1_->RowCount() > 0) {
            GoToPage(PageStep2);
            step2_->ShowChoice(s);
        } else {
            sw::ShowInformation("Please add the video files you want to convert", this);
        }
        break;
    case PageStep2:
        step2_->TakeOver(s);
        if (sw::CreateFolderWithParents(s.OutputFileDir)) {
            QCoreApplication::processEvents();
            GoToPage(PageStep3);
            checkPlaySound_->setChecked(s.PlayASoundWhenFinished);
            checkShutdown_->setChecked(s.ShutDownWhenFinished);
            PostUserMessage(2);
        } else {
            sw::ShowInformation("Fail to create directory! Please check if output folder have the right format!", this);
        }
        break;
    case PageStep4:
        step1_->Clear();
        emit ClearListsRequested();
        GoToPage(StartPage());
        break;
    case PageStep5:
        s.OutputURLDir = IncludeTrailingBackslash(editURLOutput_->text().trimmed());
        s.PreferYouTubeQuality = checkQuality_->isChecked();
        if (listURL_->topLevelItemCount() == 0) {
            sw::ShowInformation("Please Copy & Paste the YouTube video links you want to download.", this);
        } else if (sw::CreateFolderWithParents(s.OutputURLDir)) {
            GoToPage(PageStep6);
            emit StartDownloadsRequested();
        } else {
            sw::ShowInformation("Fail to create directory! Please check if output folder have the right format!", this);
        }
        break;
    case PageStep7:
        ClearAddressList();
        emit ClearListsRequested();
        GoToPage(StartPage());
        break;
    default: break;
    }
}

void TFormMain::ButtonBackClick() {
    switch (CurrentPage()) {
    case PageStep1:
        if (sw::AskYesNo("Are you sure to cancel and go back?", this)) {
            step1_->Clear();
            GoToPage(StartPage());
        }
        break;
    case PageStep2: GoToPage(PageStep1); break;
    case PageStep5:
        if (sw::AskYesNo("Are you sure to cancel and go back?", this)) {
            ClearAddressList();
            GoToPage(StartPage());
        }
        break;
    default: break;
    }
}

void TFormMain::ButtonExitClick() {
    switch (CurrentPage()) {
    case PageStep1:
        if (profile_.Download) {
            if (sw::AskYesNo("Are you sure to cancel?", this)) {
                step1_->Clear();
                GoToPage(StartPage());
            }
        } else if (sw::AskYesNo("Are you sure to quit now?", this)) {
            close();
        }
        break;
    case PageStep2:
        if (sw::AskYesNo("Are you sure to cancel?", this)) {
            step1_->Clear();
            GoToPage(StartPage());
        }
        break;
    case PageStep3:
        if (sw::AskYesNo("Do you really want to cancel the conversion?", this)) {
            emit StopRunRequested();
            UpdateCaptions();
        }
        break;
    case PageStep5:
        if (sw::AskYesNo("Are you sure to cancel?", this)) {
            ClearAddressList();
            GoToPage(StartPage());
        }
        break;
    case PageStep6:
        if (sw::AskYesNo("Do you really want to cancel the downloading?", this)) emit AbortDownloadsRequested();
        break;
    default:  // Mode, Step4, Step7
        if (sw::AskYesNo("Are you sure to quit now?", this)) close();
        break;
    }
}

void TFormMain::ButtonHelpClick() {
    const int tag = buttonHelp_->property("tag").toInt();
    helpMenuPoint_ = QPoint(buttonHelp_->x() + x() + tag, buttonHelp_->y() + y() + buttonHelp_->height());
    helpMenu_->popup(helpMenuPoint_);
}

void TFormMain::ButtonLogClick() {
    log_->show();
    log_->raise();
    log_->activateWindow();
}

void TFormMain::ActionAboutExecute() {
    TFormAbout about(profile_, programDir_, this);
    sw::ExecDialog(about, this);
}

void TFormMain::LabelMoreToolsClick() { ShellOpen(identity_.MoreTools); }

bool TFormMain::WriteAllSettings(QString* error) {
    sw::IniFile ini(settingsFile_);
    bool ok = RunSettings().WriteTo(ini);
    ok = sw::WriteWindowPosition(ini, kMainFormSection, this, sw::WindowPositionStyle::MoveOnly) && ok;
    if (!ok && error) *error = ini.errorString();
    QString logError;
    if (!log_->SavePosition(&logError)) {
        if (error && error->isEmpty()) *error = logError;
        ok = false;
    }
    return ok;
}

void TFormMain::closeEvent(QCloseEvent* e) {
    emit Closing();
    if (watchingClipboard_) {
        disconnect(QGuiApplication::clipboard(), nullptr, this, nullptr);
        watchingClipboard_ = false;
    }
    QString error;
    if (!WriteAllSettings(&error)) sw::ShowError(error, this);
    log_->hide();
    e->accept();  // closing is never refused
}

void TFormMain::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!images_.Main.isNull()) {
        p.drawPixmap(0, 0, images_.Main);
    } else {
        p.fillRect(rect(), QColor(0x16, 0x34, 0x5c));
        p.fillRect(QRect(200, 72, width() - 202, 428), QColor(0xf6, 0xf8, 0xfa));
    }
}

void TFormMain::dragEnterEvent(QDragEnterEvent* e) {
    if (e->mimeData()->hasUrls()) e->acceptProposedAction();
}

void TFormMain::dragMoveEvent(QDragMoveEvent* e) {
    if (e->mimeData()->hasUrls()) e->acceptProposedAction();
}

void TFormMain::dropEvent(QDropEvent* e) {
    const QStringList paths = LocalPathsFromMime(e->mimeData());
    e->acceptProposedAction();
    step1_->DropFiles(paths);
}

bool TFormMain::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    if (watched == imageTopLogo_ || watched == imageLeftLogo_) {
        auto* me = static_cast<QMouseEvent*>(event);
        if (type == QEvent::MouseButtonPress && me->button() == Qt::LeftButton) {
            // Pressing on a logo drags the window as its caption would.
            if (windowHandle() && windowHandle()->startSystemMove()) return true;
            dragging_ = true;
            dragOffset_ = me->globalPosition().toPoint() - pos();
            return true;
        }
        if (type == QEvent::MouseMove && dragging_) {
            move(me->globalPosition().toPoint() - dragOffset_);
            return true;
        }
        if (type == QEvent::MouseButtonRelease) dragging_ = false;
    } else if (watched == labelMoreTools_ && type == QEvent::MouseButtonPress) {
        LabelMoreToolsClick();
        return true;
    } else if (type == QEvent::MouseButtonPress && watched->objectName() == "ImageDownloadVideo") {
        radioDownload_->setChecked(true);
        radioDownload_->setFocus();
        return true;
    } else if (type == QEvent::MouseButtonPress && watched->objectName() == "ImageConvertVideo") {
        radioConvert_->setChecked(true);
        radioConvert_->setFocus();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace rc
