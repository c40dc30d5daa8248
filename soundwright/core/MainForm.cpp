#include "MainForm.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QResizeEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "Commands.h"
#include "Companions.h"
#include "ViewCommands.h"
#include "DialogConventions.h"
#include "DialogService.h"
#include "Document.h"
#include "EditCommands.h"
#include "EditForms.h"
#include "Favorites.h"
#include "FormProgress.h"
#include "Help.h"
#include "IniFile.h"
#include "MessageService.h"
#include "Ribbon.h"
#include "Shortcuts.h"
#include "TimeText.h"
#include "WaitCursor.h"
#include "WaveformView.h"
#include "WelcomeStartForm.h"
#include "WindowPosition.h"
#include "editor/TAudioEditor2.h"
#include "playback/TAudioPlayer2.h"

namespace {

// The companions that one identity hides.
const char* const kCompanionActions[] = {"ActionBurnCD", "ActionCDRipper", "ActionDiscEraser",
                                         "ActionImportFromVideo", "ActionWebFetch"};

// Commands that have their handler in this build.
const char* const kImplemented[] = {
    "ActionNewFile", "ActionOpen", "ActionSave", "ActionSaveAs", "ActionSaveSelectionAs",
    "ActionCopyToNew", "ActionCloseFile", "ActionExit", "ActionResample", "ActionEditID3Tags",
    "ActionInsertFileBegin", "ActionInsertFileCurrent", "ActionInsertFileEnd", "ActionPlay",
    "ActionPlayToEnd", "ActionLoopPlay", "ActionPause", "ActionStop", "ActionSpacePlay",
    "ActionSelectAll", "ActionContents", "ActionWelcomeWindow", "ActionShowCommandList",
    "ActionOnTheLeft", "ActionOnTheRight", "ActionFAQ2", "ActionFAQ3", "ActionFAQ4", "ActionFAQ5",
    "ActionFAQ6", "ActionTransportRibbon", "ActionZoomRibbon",
    "ActionUndo", "ActionRedo", "ActionCut", "ActionCopy", "ActionPaste", "ActionDelete",
    "ActionSelectToStart", "ActionSelectToEnd", "ActionSelectSpecifiedTime", "ActionCrop",
    "ActionTrimStart", "ActionTrimEnd", "ActionSilenceSel", "ActionInsertSilenceBegin",
    "ActionInsertSilenceCurrent", "ActionInsertSilenceEnd", "ActionMixFile", "ActionPasteMix",
    "ActionRepeat", "ActionLeftChannel", "ActionRightChannel", "ActionBothChannels",
    "ActionGoToStart", "ActionRewind", "ActionFastForword", "ActionGoToEnd", "ActionOptions",
    "ActionImportFromVideo", "ActionWebFetch", "ActionFileMerger", "ActionWMAInfo", "ActionBurnCD",
    "ActionCDRipper", "ActionDiscEraser", "ActionWindowsMixer", "ActionProductPage",
    "ActionTechnicalSupport", "ActionCompanyHomepage", "ActionFAQ1", "ActionVersion",
    "ActionZoomIn", "ActionZoomOut", "ActionZoomToSelection", "ActionZoomFull", "ActionZoomToRight",
    "ActionZoomToLeft", "ActionVerticalZoomIn", "ActionVerticalZoomOut", "ActionWorkplaceBlackWhiteStyle",
    "ActionWaveformMode", "ActionSpectralMode", "ActionHorizontalDecimal", "ActionHorizontalSample",
    "ActionHorizontalVisible", "ActionVerticalSampleValues", "ActionVerticalNormalizedValues",
    "ActionVerticalDecibelValues", "ActionVerticalVisible"};

// Ribbon pages and their groups with the commands each group offers.
struct RibbonGroupDef {
    const char* caption;
    QList<const char*> actions;
};
struct RibbonPageDef {
    const char* caption;
    QList<RibbonGroupDef> groups;
};

const QList<RibbonPageDef>& RibbonDefs() {
    static const QList<RibbonPageDef> defs = {
        {"Home",
         {{"File", {"ActionNewFile", "ActionOpen", "ActionSave", "ActionSaveAs", "ActionCloseFile"}},
          {"Cliboard", {"ActionCut", "ActionCopy", "ActionPaste", "ActionPasteMix", "ActionCopyToNew"}},
          {"Editing", {"ActionUndo", "ActionRedo", "ActionDelete", "ActionCrop", "ActionTrimStart", "ActionTrimEnd"}},
          {"Select && Effect", {"ActionSelectAll", "ActionSelectSpecifiedTime", "ActionFrequencyAnalysis"}},
          {"View", {"ActionWaveformMode", "ActionSpectralMode", "ActionShowCommandList"}}}},
        {"File",
         {{"Create", {"ActionNewFile", "ActionNewRecord", "ActionLoadCD", "ActionTextToSpeech"}},
          {"Tools", {"ActionBatchConverter", "ActionImportFromVideo", "ActionWebFetch", "ActionFileMerger",
                     "ActionWMAInfo", "ActionBurnCD", "ActionCDRipper", "ActionDiscEraser"}},
          {"Modify", {"ActionResample", "ActionEditID3Tags", "ActionSaveSelectionAs"}}}},
        {"Edit",
         {{"Common", {"ActionCut", "ActionCopy", "ActionPaste", "ActionDelete", "ActionSelectAll", "ActionCrop"}},
          {"Insert", {}},
          {"Effect", {"ActionFadeIn", "ActionFadeOut", "ActionFade", "ActionFadeOutAndTrim", "ActionSilenceSel"}},
          {"Extend", {"ActionRepeat", "ActionMixFile", "ActionLeftChannel", "ActionRightChannel", "ActionBothChannels"}}}},
        {"Effect",
         {{"Delay and Echo", {"ActionEcho", "ActionReverb", "ActionChorus"}},
          {"Extend Effects", {"ActionReverse", "ActionInvert", "ActionMixStereo", "ActionEnvelope"}},
          {"Filter and EQ", {"ActionEqualizer", "ActionHighPass", "ActionLowPass", "ActionBandPass", "ActionNotchFilter",
                             "ActionLowShelf", "ActionHighShelf", "ActionPeakEQ"}},
          {"Time and Pitch", {"ActionSpeedChange", "ActionPitchChange"}},
          {"Amplitude and Compression", {"ActionAmplify", "ActionNormalize", "ActionCompressor"}},
          {"Modulation", {"ActionFlanger", "ActionPhaser", "ActionVibrato"}}}},
        {"Noise Reduction",
         {{"Noise Reduction", {"ActionNoiseReduction", "ActionCassetteNoiseReduction",
                               "ActionVoiceBreathNoiseReduction"}}}},
        {"Bookmark",
         {{"Bookmark", {"ActionSetBookmark", "ActionOpenBookmarkList"}},
          {"Region", {"ActionAddRegion", "ActionOpenRegionList"}}}},
        {"Options",
         {{"Options", {"ActionOptions", "ActionWindowsMixer"}},
          {"View", {"ActionWorkplaceBlackWhiteStyle", "ActionShowCommandList", "ActionOnTheLeft", "ActionOnTheRight"}},
          {"Keyboard", {"ActionKeyboardShortcuts"}},
          {"Editor View", {"ActionHorizontalDecimal", "ActionHorizontalSample", "ActionHorizontalVisible",
                           "ActionVerticalSampleValues", "ActionVerticalNormalizedValues",
                           "ActionVerticalDecibelValues", "ActionVerticalVisible"}},
          {"Application View", {"ActionTransportRibbon", "ActionZoomRibbon"}}}},
        {"Help",
         {{"Help", {"ActionContents", "ActionWelcomeWindow", "ActionProductPage", "ActionTechnicalSupport",
                    "ActionCompanyHomepage", "ActionVersion"}},
          {"FAQ", {"ActionFAQ1", "ActionFAQ2", "ActionFAQ3", "ActionFAQ4", "ActionFAQ5", "ActionFAQ6"}}}},
    };
    return defs;
}

// The effect tree of the command list: category -> effect commands.
const QList<QPair<const char*, QList<const char*>>>& EffectTreeDefs() {
    static const QList<QPair<const char*, QList<const char*>>> defs = {
        {"Amplitude", {"ActionAmplify", "ActionNormalize", "ActionCompressor", "ActionEnvelope", "ActionFadeIn",
                       "ActionFadeOut", "ActionFade"}},
        {"Delay and Echo", {"ActionEcho", "ActionReverb", "ActionChorus", "ActionFlanger", "ActionPhaser",
                            "ActionVibrato"}},
        {"Filter and EQ", {"ActionEqualizer", "ActionHighPass", "ActionLowPass", "ActionBandPass",
                           "ActionNotchFilter", "ActionLowShelf", "ActionHighShelf", "ActionPeakEQ"}},
        {"Time and Pitch", {"ActionSpeedChange", "ActionPitchChange"}},
        {"Special", {"ActionReverse", "ActionInvert", "ActionMixStereo"}},
        {"Noise Reduction", {"ActionNoiseReduction", "ActionCassetteNoiseReduction",
                             "ActionVoiceBreathNoiseReduction"}},
    };
    return defs;
}

QRect ScreenArea(const QWidget* w) {
    QScreen* s = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    return s ? s->availableGeometry() : QRect(0, 0, 1920, 1080);
}

}  // namespace

QString ClockText(qint64 samples, int sampleRate) {
    if (sampleRate <= 0) sampleRate = 44100;
    const qint64 ms = samples * 1000 / sampleRate;
    const qint64 h = ms / 3600000, m = ms / 60000 % 60, s = ms / 1000 % 60, z = ms % 1000;
    if (h > 0) return QString::asprintf("%lld:%02lld:%02lld.%03lld", h, m, s, z);
    return QString::asprintf("%lld:%02lld.%03lld", m, s, z);
}

TMainForm::TMainForm(const TMainFormOptions& options, QWidget* parent)
    : QMainWindow(parent), options_(options), identity_(options.identity),
      editor_(std::make_unique<sw::TAudioEditor2>()) {
    setObjectName("MainForm");
    actions_ = CreateCommandActions(this);
    byName_ = ActionsByName(actions_);
    addActions(actions_);
    for (const char* n : kImplemented) implemented_.insert(QString::fromLatin1(n));
    player_ = std::make_unique<sw::TAudioPlayer2>();
    player_->OnEndPlay = [this] { StopPreview(); };
    buildLayout();

    // Caption and what the identity decides.
    setWindowTitle(identity_.version.isEmpty() ? identity_.displayName
                                               : identity_.displayName + " " + identity_.version);
    if (identity_.hideCompanions)
        for (const char* n : kCompanionActions)
            if (QAction* a = Action(n)) a->setVisible(false);

    // Double-clicks on the editor view are taken before the view sees them;
    // files dropped from the desktop are accepted.
    qApp->installEventFilter(this);
    setAcceptDrops(true);

    // Folders.
    appData_ = sw::IncludeTrailingSeparator(sw::ResolveSettingsFolder(options_.env, identity_.displayName));
    music_ = sw::IncludeTrailingSeparator(sw::MusicFolder(options_.env));
    temp_ = sw::TemporaryFolder(options_.env, identity_.displayName);

    // Settings record and the editor's work folder.
    vars_.Reset(music_, appData_);
    document_ = std::make_unique<TDocument>(*editor_, vars_, recent_, identity_, this);
    // No document; the clip flag cleared.
    commands_ = std::make_unique<TEditCommands>(*editor_, *document_, vars_, this);
    applyWorkFolder();

    sw::IniFile ini(SettingsPath());
    foundSettings_ = LoadSettings(vars_, ini);
    if (!foundSettings_) {
        resize(980, 560);
        const QRect screen = ScreenArea(this);
        move(screen.x() + (screen.width() - 980) / 2, screen.y() + (screen.height() - 560) / 2);
        const QRect g = geometry();
        vars_.RegionFormLeft = g.left() + g.width() - vars_.RegionFormWidth;
        vars_.RegionFormTop = g.top() + g.height() - vars_.RegionFormHeight;
        vars_.BookmarkFormLeft = g.left() + g.width() - vars_.BookmarkFormWidth;
        vars_.BookmarkFormTop = g.top() + g.height() - vars_.BookmarkFormHeight;
    }

    // Favourites and recent files.
    QString error;
    if (!QFileInfo::exists(FavoritesPath()) && !WriteDefaultFavorites(FavoritesPath(), &error))
        sw::ShowError(error, this);
    if (QFileInfo::exists(RecentFilesPath())) recent_.Load(RecentFilesPath());

    // Shortcuts by position, then the favourites' list and shortcuts.
    if (!QFileInfo::exists(ShortcutsPath()) && !WriteDefaultShortcuts(ShortcutsPath(), actions_, &error))
        sw::ShowError(error, this);
    LoadShortcuts(ShortcutsPath(), actions_);
    favorites_->LoadFavorites();
    effectTree_->setStyleSheet("QTreeView::item { height: 19px; }");

    setMinimumSize(500, 300);
    timerRewind_->stop();
    timerForword_->stop();

    sw::ApplyHintFont(this);

    // Command list from the record.
    SetCommandListVisible(true);
    SetCommandListOnTheLeft(true);
    commandList_->setCurrentIndex(vars_.EffectPanelOnFront ? 0 : 1);
    splitter_->setSizes(commandListLeft_ ? QList<int>{vars_.CommandBarWidth, width() - vars_.CommandBarWidth}
                                         : QList<int>{width() - vars_.CommandBarWidth, vars_.CommandBarWidth});

    sw::ReadWindowPosition(ini, "FormPos", this, sw::WindowPositionStyle::ResizeWithFrame);

    readViewSettings();
    verticalZoom_ = 100;
    view_->SetVerticalZoom(verticalZoom_);

    connectCommands();
    connectEditor();
    UpdateCommandStates();
    auto* idle = new QTimer(this);
    idle->setObjectName("TimerCommandStates");
    connect(idle, &QTimer::timeout, this, &TMainForm::UpdateCommandStates);
    idle->start(100);

    if (options_.postAfterShow) QMetaObject::invokeMethod(this, &TMainForm::AfterShow, Qt::QueuedConnection);
}

TMainForm::~TMainForm() {
    qApp->removeEventFilter(this);
    if (editor_) {
        editor_->OnBlockOperation = nullptr;
        editor_->OnEndOperation = nullptr;
        editor_->OnChangePosition = nullptr;
        editor_->OnChangePlayPosition = nullptr;
        editor_->OnMeter = nullptr;
        editor_->OnEndPlay = nullptr;
    }
    if (player_) {
        player_->OnEndPlay = nullptr;
        player_->ClosePlayer();
    }
    delete progressForm_.data();
}

// ---- Layout -----------------------------------------------------------------

void TMainForm::buildLayout() {
    auto* central = new QWidget(this);
    central->setObjectName("PanelMain");
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    setCentralWidget(central);

    buildQuickAccess();
    buildRibbon();
    column->addWidget(ribbon_);

    splitter_ = new QSplitter(Qt::Horizontal, central);
    splitter_->setObjectName("Splitter");
    splitter_->setChildrenCollapsible(false);
    buildCommandList();
    editorPanel_ = new QWidget(splitter_);
    editorPanel_->setObjectName("PanelEditor");
    buildEditorPanel(editorPanel_);
    splitter_->addWidget(commandList_);
    splitter_->addWidget(editorPanel_);
    splitter_->setStretchFactor(1, 1);
    column->addWidget(splitter_, 1);

    auto* control = new QWidget(central);
    control->setObjectName("PanelControl");
    buildControlPanel(control);
    column->addWidget(control);

    buildStatusBar();

    progressForm_ = new TFormProgress(nullptr);
    progress_ = std::make_unique<TProgressDisplay>(this, progressForm_.data());
}

void TMainForm::buildQuickAccess() {
    auto* bar = new QWidget(this);
    bar->setObjectName("PanelQuickAccess");
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(4, 1, 4, 1);
    row->setSpacing(1);
    const QList<QPair<const char*, const char*>> buttons = {
        {"QuickButtonNewFile", "ActionNewFile"}, {"QuickButtonNewRecord", "ActionNewRecord"},
        {"QuickButtonOpen", "ActionOpen"},       {"QuickButtonUndo", "ActionUndo"},
        {"QuickButtonRedo", "ActionRedo"},       {"QuickButtonSaveAs", "ActionSaveAs"}};
    for (const auto& [name, action] : buttons) {
        auto* b = new QToolButton(bar);
        b->setObjectName(name);
        b->setDefaultAction(Action(action));
        b->setAutoRaise(true);
        row->addWidget(b);
    }
    row->addStretch(1);
    setMenuWidget(bar);
}

// The menus of the window: items in order, "-" a separator, ">Name" opens
// a submenu made from the menu of that name.
QMenu* TMainForm::menu(const QString& name) {
    if (QMenu* m = menus_.value(name)) return m;
    static const QList<QPair<const char*, QList<const char*>>> defs = {
        {"PopupMenuMain",
         {"ActionUndo", "-", "ActionCut", "ActionCopy", "ActionPaste", "ActionDelete", "-", "ActionSelectToStart",
          "ActionSelectToEnd", "ActionSelectSpecifiedTime", "ActionSelectAll", "-", "ActionCrop", "ActionTrimStart",
          "ActionTrimEnd", "-", "ActionSilenceSel", "ActionSaveSelectionAs", "-", "ActionSetBookmark",
          "ActionAddRegion"}},
        {"PopupMenuSelect",
         {"ActionSelectToStart", "ActionSelectToEnd", "ActionSelectSpecifiedTime", "-", "ActionSelectAll"}},
        {"PopupMenuSave", {"ActionSave", "ActionSaveAs", "-", "ActionSaveSelectionAs"}},
        {"PopupMenuInsertFile", {"ActionInsertFileBegin", "ActionInsertFileCurrent", "ActionInsertFileEnd"}},
        {"PopupMenuInsertSlience",
         {"ActionInsertSilenceBegin", "ActionInsertSilenceCurrent", "ActionInsertSilenceEnd"}},
        {"PopupMenuCommandBar", {"ActionShowCommandList", "-", "ActionOnTheLeft", "ActionOnTheRight"}},
        {"PopupMenuView",
         {">PopupMenuCommandBar", "-", "ActionWorkplaceBlackWhiteStyle", "-", "ActionOpenBookmarkList",
          "ActionOpenRegionList"}},
        {"PopupMenuBurnCD", {"ActionBurnCD", "-", "ActionDiscEraser"}},
        {"PopupMenuEffect",
         {"ActionEcho", "ActionVibrato", "-", "ActionAmplify", "ActionFade", "ActionFadeIn", "ActionFadeOut",
          "ActionCompressor", "ActionEnvelope", "ActionNormalize", "-", "ActionChorus", "ActionFlanger",
          "ActionPhaser", "ActionReverb", "-", "ActionSpeedChange", "ActionPitchChange", "-", "ActionNotchFilter",
          "ActionBandPass", "ActionLowPass", "ActionHighPass", "ActionLowShelf", "ActionHighShelf", "ActionPeakEQ",
          "-", "ActionMixStereo", "ActionInvert", "ActionReverse", "-", "ActionNoiseReduction"}},
        {"PopupMenuScaleX", {"ActionHorizontalDecimal", "ActionHorizontalSample", "-", "ActionHorizontalVisible"}},
        {"PopupMenuScaleY",
         {"ActionVerticalSampleValues", "ActionVerticalNormalizedValues", "ActionVerticalDecibelValues", "-",
          "ActionVerticalVisible"}},
    };
    for (const auto& [menuName, items] : defs) {
        if (name != menuName) continue;
        auto* m = new QMenu(this);
        m->setObjectName(name);
        menus_.insert(name, m);
        for (const char* item : items) {
            const QString n = QString::fromLatin1(item);
            if (n == "-") {
                m->addSeparator();
            } else if (n.startsWith('>')) {
                // The command bar submenu carries the caption "CommandBar".
                QMenu* sub = m->addMenu("CommandBar");
                sub->setObjectName(n.mid(1) + "Sub");
                QMenu* from = menu(n.mid(1));
                for (QAction* a : from->actions()) sub->addAction(a);
            } else if (QAction* a = Action(n)) {
                m->addAction(a);
            }
        }
        return m;
    }
    return nullptr;
}

void TMainForm::buildRibbon() {
    ribbon_ = new TRibbon(this);
    for (const RibbonPageDef& p : RibbonDefs()) {
        QWidget* page = ribbon_->AddPage(p.caption);
        for (const RibbonGroupDef& g : p.groups) {
            QList<QAction*> acts;
            for (const char* n : g.actions) acts << Action(n);
            QWidget* group = ribbon_->AddGroup(page, g.caption, acts);
            if (QString(p.caption) == "Edit" && QString(g.caption) == "Insert") {
                ribbon_->AddMenuButton(group, "ButtonInsertFile", "Insert File", menu("PopupMenuInsertFile"));
                ribbon_->AddMenuButton(group, "ButtonInsertSilence", "Insert Silence", menu("PopupMenuInsertSlience"));
            }
            const QString page = p.caption, caption = g.caption;
            if (page == "Home" && caption == "Select && Effect") {
                menuButtons_ << MenuButton{ribbon_->AddMenuButton(group, "ButtonSelect", "Select",
                                                                  menu("PopupMenuSelect")), MenuRule::Audio};
                menuButtons_ << MenuButton{ribbon_->AddMenuButton(group, "ButtonEffect", "Effect",
                                                                  menu("PopupMenuEffect")), MenuRule::Audio};
            }
            if (page == "Home" && caption == "View")
                ribbon_->AddMenuButton(group, "ButtonView", "View", menu("PopupMenuView"));
            if (page == "Options" && caption == "View")
                ribbon_->AddMenuButton(group, "ButtonCommandBar", "Command Bar", menu("PopupMenuCommandBar"));
            if (page == "File" && caption == "Tools") {
                QToolButton* burn = ribbon_->AddMenuButton(group, "ButtonBurnCD", "Burn CD", menu("PopupMenuBurnCD"));
                if (identity_.hideCompanions) burn->setVisible(false);
            }
            if (page == "Options" && caption == "Editor View") {
                menuButtons_ << MenuButton{ribbon_->AddMenuButton(group, "ButtonScaleX", "Horizontal Scale",
                                                                  menu("PopupMenuScaleX")), MenuRule::Open};
                menuButtons_ << MenuButton{ribbon_->AddMenuButton(group, "ButtonScaleY", "Vertical Scale",
                                                                  menu("PopupMenuScaleY")), MenuRule::Open};
            }
            if (QString(p.caption) == "Home" && QString(g.caption) == "File") {
                ribbon_->AddMenuButton(group, "ButtonSaveMenu", "Save", menu("PopupMenuSave"));
            }
        }
        ribbon_->FinishPage(page);
    }
}

void TMainForm::buildCommandList() {
    commandList_ = new QTabWidget(splitter_);
    commandList_->setObjectName("SkinPageControlCommandList");
    commandList_->setMinimumWidth(120);

    auto* effects = new QWidget;
    effects->setObjectName("bsSkinTabSheetEffects");
    auto* ev = new QVBoxLayout(effects);
    ev->setContentsMargins(0, 0, 0, 0);
    effectTree_ = new QTreeWidget(effects);
    effectTree_->setObjectName("TreeViewEffects");
    effectTree_->setHeaderHidden(true);
    for (const auto& [category, names] : EffectTreeDefs()) {
        auto* top = new QTreeWidgetItem(effectTree_, QStringList{category});
        for (const char* n : names) {
            if (QAction* a = Action(n)) {
                auto* item = new QTreeWidgetItem(top, QStringList{StripAmpersands(a->text())});
                item->setData(0, Qt::UserRole, a->objectName());
            }
        }
    }
    effectTree_->expandAll();
    connect(effectTree_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        if (QAction* a = Action(item->data(0, Qt::UserRole).toString()); a && a->isEnabled()) a->trigger();
    });
    ev->addWidget(effectTree_);
    commandList_->addTab(effects, "Effects");

    auto* favs = new QWidget;
    favs->setObjectName("bsSkinTabSheetFavorites");
    auto* fv = new QVBoxLayout(favs);
    fv->setContentsMargins(0, 0, 0, 0);
    favoriteList_ = new FavoriteListBox(favs);
    favoriteList_->setObjectName("FavoriteListBox");
    fv->addWidget(favoriteList_, 1);
    auto* edit = new QPushButton("Edit Favorites...", favs);
    edit->setObjectName("ButtonEditF");
    edit->setEnabled(false);   // the favourites editor comes with the effects
    fv->addWidget(edit);
    commandList_->addTab(favs, "Favorites");
    favorites_ = new TFavoriteCommands(this, favoriteList_, FavoritesPath(), this);

    connect(commandList_, &QTabWidget::currentChanged, this,
            [this](int page) { vars_.EffectPanelOnFront = page == 0; });
}

void TMainForm::buildEditorPanel(QWidget* panel) {
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(1);
    view_ = new WaveformView(*editor_, panel);
    view_->setObjectName("AudioEditor");
    view_->setContextMenuPolicy(Qt::NoContextMenu);
    popupMenuMain_ = menu("PopupMenuMain");
    connect(view_, &WaveformView::OnScaleXClick, this, [this](QPoint at) {
        UpdateCommandStates();
        menu("PopupMenuScaleX")->popup(at);
    });
    connect(view_, &WaveformView::OnScaleYClick, this, [this](QPoint at) {
        UpdateCommandStates();
        menu("PopupMenuScaleY")->popup(at);
    });
    row->addWidget(view_, 1);
    for (QProgressBar** bar : {&leftBar_, &rightBar_}) {
        *bar = new QProgressBar(panel);
        (*bar)->setOrientation(Qt::Vertical);
        (*bar)->setRange(0, 100);
        (*bar)->setValue(0);
        (*bar)->setTextVisible(false);
        (*bar)->setFixedWidth(10);
        row->addWidget(*bar);
    }
    leftBar_->setObjectName("LeftBar");
    rightBar_->setObjectName("RightBar");
}

void TMainForm::buildControlPanel(QWidget* panel) {
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(4, 3, 4, 3);
    row->setSpacing(2);
    struct B { const char* name; const char* text; const char* action; const char* tip; };
    const QList<B> transport = {
        {"ButtonPlay", "\u25B6", "ActionPlay", "Play"},
        {"ButtonPlayToEnd", "\u25B6|", "ActionPlayToEnd", "Play To End"},
        {"ButtonPlayLooped", "\u21BB", "ActionLoopPlay", "Loop Play"},
        {"ButtonPause", "\u2016", "ActionPause", "Pause"},
        {"ButtonStop", "\u25A0", "ActionStop", "Stop"},
        {"ButtonStart", "|\u25C0", "ActionGoToStart", "Go to Start"},
        {"ButtonRewind", "\u25C0\u25C0", "ActionRewind", "Rewind"},
        {"ButtonForword", "\u25B6\u25B6", "ActionFastForword", "Fast Forword"},
        {"ButtonEnd", "\u25B6|", "ActionGoToEnd", "Go To End"},
        {"ButtonRecord", "\u25CF", "ActionNewRecord", "Record"}};
    auto makeButton = [&](const B& b) {
        auto* button = new QPushButton(QString::fromUtf8(b.text), panel);
        button->setObjectName(b.name);
        button->setToolTip(b.tip);
        button->setFocusPolicy(Qt::NoFocus);
        button->setFixedSize(28, 26);
        button->setProperty("command", b.action);
        row->addWidget(button);
        transportButtons_ << button;
        return button;
    };
    for (const B& b : transport) {
        QPushButton* button = makeButton(b);
        if (QString(b.name) != "ButtonRewind" && QString(b.name) != "ButtonForword") {
            connect(button, &QPushButton::clicked, this, [this, b] {
                view_->setFocus();
                if (QAction* a = Action(b.action); a && a->isEnabled()) a->trigger();
            });
        }
    }
    timerRewind_ = new QTimer(this);
    timerRewind_->setObjectName("TimerRewind");
    timerRewind_->setInterval(10);
    timerForword_ = new QTimer(this);
    timerForword_->setObjectName("TimerForword");
    timerForword_->setInterval(10);
    connect(timerRewind_, &QTimer::timeout, this, &TMainForm::TimerRewindTimer);
    connect(timerForword_, &QTimer::timeout, this, &TMainForm::TimerForwordTimer);
    for (QPushButton* b : transportButtons_) {
        if (b->objectName() == "ButtonRewind") {
            connect(b, &QPushButton::pressed, this, &TMainForm::ButtonRewindMouseDown);
            connect(b, &QPushButton::released, this, &TMainForm::ButtonRewindMouseUp);
        } else if (b->objectName() == "ButtonForword") {
            connect(b, &QPushButton::pressed, this, &TMainForm::ButtonForwordMouseDown);
            connect(b, &QPushButton::released, this, &TMainForm::ButtonForwordMouseUp);
        }
    }

    row->addSpacing(10);
    const QList<B> zoom = {{"ButtonZoomIn", "+", "ActionZoomIn", "Zoom In"},
                           {"ButtonZoomOut", "\u2212", "ActionZoomOut", "Zoom Out"},
                           {"ButtonZoomToSelection", "[ ]", "ActionZoomToSelection", "Zoom To Selection"},
                           {"ButtonZoomFull", "\u2194", "ActionZoomFull", "Zoom Full"}};
    for (const B& b : zoom) {
        QPushButton* button = makeButton(b);
        connect(button, &QPushButton::clicked, this, [this, b] {
            view_->setFocus();
            if (QAction* a = Action(b.action); a && a->isEnabled()) a->trigger();
        });
    }
    row->addSpacing(10);
    panelTime_ = new QWidget(panel);
    panelTime_->setObjectName("PanelTime");
    auto* timeLayout = new QHBoxLayout(panelTime_);
    timeLayout->setContentsMargins(0, 0, 0, 0);
    labelTime_ = new QLabel(FormatTimeText(0), panelTime_);
    labelTime_->setObjectName("LabelTime");
    QFont f = labelTime_->font();
    f.setPointSize(16);
    f.setBold(true);
    labelTime_->setFont(f);
    labelTime_->setAlignment(Qt::AlignCenter);
    labelTime_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    timeLayout->addWidget(labelTime_);
    QFont small(f);
    small.setPointSize(12);
    panelTime_->setMinimumSize(QFontMetrics(small).horizontalAdvance("0:00:00.000") + 8, 26);
    panelTime_->installEventFilter(this);
    row->addWidget(panelTime_);
    row->addStretch(1);

    // Each value label has its edit box over it, hidden until the label is
    // clicked.
    auto* fields = new QGridLayout;
    fields->setHorizontalSpacing(6);
    fields->setVerticalSpacing(0);
    // Two by two: caption and value, the edit box over the value.
    int cell = 0;
    auto place = [&](const QString& caption, QWidget* value, QWidget* over) {
        const int r = cell % 2, c = (cell / 2) * 2;
        fields->addWidget(new QLabel(caption, panel), r, c);
        fields->addWidget(value, r, c + 1);
        if (over) fields->addWidget(over, r, c + 1);
        ++cell;
    };
    auto addField = [&](const char* labelName, const char* caption, const char* editName, QLabel** label) {
        *label = new QLabel(FormatTimeText(0), panel);
        (*label)->setObjectName(labelName);
        (*label)->setFixedWidth(80);
        (*label)->setCursor(Qt::IBeamCursor);
        (*label)->installEventFilter(this);
        auto* e = new QLineEdit(panel);
        e->setObjectName(editName);
        e->setFixedWidth(80);
        e->hide();
        e->installEventFilter(this);
        place(caption, *label, e);
        return e;
    };
    editStart_ = addField("LabelStart", "Start:", "EditStart", &labelStart_);
    editEnd_ = addField("LabelEnd", "End:", "EditEnd", &labelEnd_);
    editLength_ = addField("LabelSelLength", "Length:", "EditLength", &labelSelLength_);
    labelFileLength_ = new QLabel(FormatTimeText(0), panel);
    labelFileLength_->setObjectName("LabelFileLength");
    place("File:", labelFileLength_, nullptr);
    labelSelectionSample_ = new QLabel("0", panel);
    labelSelectionSample_->setObjectName("LabelSeletionSample");
    labelSelectionSample_->hide();
    row->addLayout(fields);
}

void TMainForm::buildStatusBar() {
    auto* bar = new QStatusBar(this);
    bar->setObjectName("bsSkinStatusBar");
    panelModified_ = new QLabel(" ", bar);
    panelModified_->setObjectName("bsSkinStatusPanelModified");
    panelModified_->setMinimumWidth(80);
    panelFileInfo_ = new QLabel(bar);
    panelFileInfo_->setObjectName("bsSkinStatusPanelFileInfo");
    bar->addWidget(panelModified_);
    bar->addWidget(panelFileInfo_, 1);
    setStatusBar(bar);
}

// ---- Commands ---------------------------------------------------------------

template <class F> void TMainForm::run(F&& body) {
    try {
        body();
    } catch (const std::exception& e) {
        sw::ShowError(QString::fromUtf8(e.what()), this);
    }
    HideProgress();
    UpdateCommandStates();
    view_->update();
}

void TMainForm::on(const char* actionName, std::function<void()> handler) {
    QAction* a = Action(actionName);
    if (!a) return;
    connect(a, &QAction::triggered, this, [this, a, handler] {
        // A shortcut can reach a command whose state changed since the last
        // update: check again before running.
        UpdateCommandStates();
        if (!a->isEnabled()) return;
        run(handler);
    });
}

void TMainForm::connectCommands() {
    TDocument& d = *document_;
    d.hooks.stopTransport = [this] { StopTransport(); };
    d.hooks.play = [this] { PlayCommand(1); };
    d.hooks.fileInfoPanel = [this](const QString& t) { panelFileInfo_->setText(t); };
    d.hooks.clearMarkerLists = [] {};
    d.hooks.applyWorkFolder = [this] { applyWorkFolder(); };

    on("ActionNewFile", [&d] { d.NewFile(); });
    on("ActionOpen", [&d] { d.Open(); });
    on("ActionSave", [&d] { d.SaveFile(); });
    on("ActionSaveAs", [&d] { d.SaveFileAs(); });
    on("ActionSaveSelectionAs", [&d] { d.SaveSelectionAs(); });
    on("ActionCopyToNew", [&d] { d.CopyToNew(); });
    on("ActionCloseFile", [&d] { d.CloseFile(); });
    on("ActionExit", [this] { close(); });
    on("ActionResample", [&d] { d.Resample(); });
    on("ActionEditID3Tags", [&d] { d.EditID3Tags(); });
    on("ActionInsertFileBegin", [&d] { d.InsertFile(TDocument::InsertWhere::Begin); });
    on("ActionInsertFileCurrent", [&d] { d.InsertFile(TDocument::InsertWhere::Current); });
    on("ActionInsertFileEnd", [&d] { d.InsertFile(TDocument::InsertWhere::End); });
    on("ActionPlay", [this] { PlayCommand(1); });
    on("ActionPlayToEnd", [this] { PlayCommand(2); });
    on("ActionLoopPlay", [this] { PlayCommand(3); });
    on("ActionSpacePlay", [this] { PlayCommand(1); });
    on("ActionPause", [this] { PauseCommand(); });
    on("ActionStop", [this] { StopTransport(); });
    TEditCommands& c = *commands_;
    c.hooks.stopTransport = [this] { StopTransport(); };
    c.hooks.play = [this] { PlayCommand(1); };
    c.hooks.refresh = [this] { view_->update(); };
    d.hooks.modifiedPanel = [this](const QString& t) {
        panelModified_->setText(t);
        commands_->ModifiedChanged(document_->Modified());
    };
    on("ActionSelectAll", [this] {
        StopTransport();
        SelectAll();
    });
    on("ActionUndo", [&c] { c.Undo(); });
    on("ActionRedo", [&c] { c.Redo(); });
    on("ActionCut", [&c] { c.Cut(); });
    on("ActionCopy", [&c] { c.Copy(); });
    on("ActionPaste", [&c] { c.Paste(); });
    on("ActionDelete", [&c] { c.Delete(); });
    on("ActionSelectToStart", [this, &c] { StopTransport(); c.SelectToStart(); });
    on("ActionSelectToEnd", [this, &c] { StopTransport(); c.SelectToEnd(); });
    on("ActionSelectSpecifiedTime", [&c] { c.SelectSpecifiedTime(); });
    on("ActionCrop", [&c] { c.Crop(); });
    on("ActionTrimStart", [&c] { c.TrimStart(); });
    on("ActionTrimEnd", [&c] { c.TrimEnd(); });
    on("ActionSilenceSel", [&c] { c.SilenceSel(); });
    on("ActionInsertSilenceBegin", [&c] { c.InsertSilence(TEditCommands::Where::Begin); });
    on("ActionInsertSilenceCurrent", [&c] { c.InsertSilence(TEditCommands::Where::Current); });
    on("ActionInsertSilenceEnd", [&c] { c.InsertSilence(TEditCommands::Where::End); });
    on("ActionRepeat", [&c] { c.Repeat(); });
    on("ActionMixFile", [&c] { c.MixFile(); });
    on("ActionPasteMix", [&c] { c.PasteMix(); });
    on("ActionLeftChannel", [&c] { c.LeftChannel(); });
    on("ActionRightChannel", [&c] { c.RightChannel(); });
    on("ActionBothChannels", [&c] { c.BothChannels(); });
    on("ActionGoToStart", [&c] { c.GoToStart(); });
    on("ActionGoToEnd", [&c] { c.GoToEnd(); });
    on("ActionRewind", [this, &c] { StopTransport(); c.RewindStep(); });
    on("ActionFastForword", [this, &c] { StopTransport(); c.ForwardStep(); });
    on("ActionOptions", [this] {
        if (edit_dialogs::RunOptions(this, vars_, recent_, RecentFilesPath())) applyWorkFolder();
    });
    on("ActionWelcomeWindow", [this] { RunWelcomeWindow(); });
    on("ActionContents", [this] { showHelp("WelcometoAPP"); });
    on("ActionFAQ2", [this] { showHelp("RecordQuicktour"); });
    on("ActionFAQ3", [this] { showHelp("ImportingAudioTracksfromCD"); });
    on("ActionFAQ4", [this] { showHelp("BasicAudioEditing"); });
    on("ActionFAQ5", [this] { showHelp("ConnectingYourStereoEquipment"); });
    on("ActionFAQ6", [this] { showHelp("BookmarksandRegions"); });
    // Zoom.
    auto zoom = [this](void (*f)(sw::IAudioEditor2Position&)) {
        return [this, f] {
            f(editor_->Position());
            view_->update();
        };
    };
    on("ActionZoomIn", zoom(&view_commands::ZoomIn));
    on("ActionZoomOut", zoom(&view_commands::ZoomOut));
    on("ActionZoomFull", zoom(&view_commands::ZoomFull));
    on("ActionZoomToSelection", zoom(&view_commands::ZoomToSelection));
    on("ActionZoomToRight", zoom(&view_commands::ZoomToRight));
    on("ActionZoomToLeft", zoom(&view_commands::ZoomToLeft));
    on("ActionVerticalZoomIn", [this] {
        verticalZoom_ = view_commands::VerticalZoomIn(verticalZoom_);
        view_->SetVerticalZoom(verticalZoom_);
    });
    on("ActionVerticalZoomOut", [this] {
        verticalZoom_ = view_commands::VerticalZoomOut(verticalZoom_);
        view_->SetVerticalZoom(verticalZoom_);
    });
    on("ActionWorkplaceBlackWhiteStyle", [this] {
        const bool dark = Action("ActionWorkplaceBlackWhiteStyle")->isChecked();
        view_->SetDarkColours(dark);
        sw::IniFile(SettingsPath()).WriteBool("System", "BlackWhite", dark);
    });
    // Axes.
    on("ActionHorizontalDecimal", [this] { SetScaleXFormat(2); });
    on("ActionHorizontalSample", [this] { SetScaleXFormat(1); });
    on("ActionVerticalSampleValues", [this] { SetScaleYFormat(1); });
    on("ActionVerticalNormalizedValues", [this] { SetScaleYFormat(2); });
    on("ActionVerticalDecibelValues", [this] { SetScaleYFormat(3); });
    on("ActionHorizontalVisible", [this] {
        view_->SetScaleXVisible(Action("ActionHorizontalVisible")->isChecked());
        sw::IniFile(SettingsPath()).WriteBool("Horizontal", "Visible", view_->ScaleX().ScaleVisible);
    });
    on("ActionVerticalVisible", [this] {
        view_->SetScaleYVisible(Action("ActionVerticalVisible")->isChecked());
        sw::IniFile(SettingsPath()).WriteBool("Vertical", "Visible", view_->ScaleY().ScaleVisible);
    });
    // Display mode.
    on("ActionWaveformMode", [this] { SetDisplayMode(1); });
    on("ActionSpectralMode", [this] { SetDisplayMode(2); });
    // Companions, mixer, web pages and About.
    const QList<QPair<const char*, const char*>> companions = {
        {"ActionImportFromVideo", "ClipSoundPull/ClipSoundPull.exe"}, {"ActionWebFetch", "WebFetch/WebFetch.exe"},
        {"ActionFileMerger", "splicekit.exe"},  {"ActionWMAInfo", "tagpeek.exe"},
        {"ActionBurnCD", "platterwrite.exe"},   {"ActionCDRipper", "platterread.exe"},
        {"ActionDiscEraser", "platterclear.exe"}};
    for (const auto& [action, path] : companions) {
        const QString relative = QString::fromLatin1(path);
        on(action, [this, relative] {
            StopTransport();
            StartCompanion(options_.exeDir, relative);
        });
    }
    on("ActionWindowsMixer", [] { StartMixer(); });
    on("ActionProductPage", [this] { OpenWebPage(identity_.productPage); });
    on("ActionTechnicalSupport", [this] { OpenWebPage(identity_.supportPage); });
    on("ActionCompanyHomepage", [this] { OpenWebPage(identity_.homePage); });
    on("ActionFAQ1", [this] { OpenWebPage(identity_.productPage + "/vistaproblem/"); });
    on("ActionVersion", [this] {
        TFormAbout about(identity_.displayName, identity_.version, identity_.productPage, this);
        sw::PlaceCentredOver(&about, this);
        sw::ExecDialog(about, this);
    });
    on("ActionShowCommandList", [this] {
        SetCommandListVisible(Action("ActionShowCommandList")->isChecked());
        sw::IniFile(SettingsPath()).WriteBool("System", "ShowCommandBar", commandList_->isVisibleTo(this));
    });
    on("ActionOnTheLeft", [this] {
        SetCommandListOnTheLeft(true);
        sw::IniFile(SettingsPath()).WriteBool("System", "CommandBarOnTheLeft", true);
    });
    on("ActionOnTheRight", [this] {
        SetCommandListOnTheLeft(false);
        sw::IniFile(SettingsPath()).WriteBool("System", "CommandBarOnTheLeft", false);
    });
    // These two only carry their own check marks.
    on("ActionTransportRibbon", [] {});
    on("ActionZoomRibbon", [] {});
}

void TMainForm::connectEditor() {
    sw::TAudioEditor2& e = *editor_;
    e.OnBlockOperation = [this](int percent) { ShowProgress(percent); };
    e.OnEndOperation = [this] { HideProgress(); };
    e.OnChangePosition = [this] {
        UpdateSelectionDisplay();
        view_->update();
    };
    e.OnChangePlayPosition = [this](sw::SampleCount) {
        auto& p = editor_->Position();
        labelStart_->setText(FormatTimeText(qint64(p.SamplesToMs(p.CurrentPosition()))));
        labelTime_->setText(labelStart_->text());
        if (RefreshAnalysis) RefreshAnalysis();
        view_->update();
    };
    e.OnMeter = [this](int l, int r) {
        leftBar_->setValue(qBound(0, l, 100));
        rightBar_->setValue(qBound(0, r, 100));
    };
    e.OnEndPlay = [this] {
        leftBar_->setValue(0);
        rightBar_->setValue(0);
        UpdateCommandStates();
        view_->update();
    };
}

void TMainForm::UpdateCommandStates() {
    TCommandState s;
    s.open = document_->IsOpen() && editor_->IsOpen();
    s.hasExtension = s.open && !QFileInfo(document_->FileName()).suffix().isEmpty();
    if (s.open) {
        s.canUndo = editor_->CanUndo();
        s.canRedo = editor_->CanRedo();
        s.clip = commands_->Clip();
        s.audio = editor_->Position().Length() > 0;
        s.sel = s.audio && editor_->Position().SelEnd() - editor_->Position().SelStart() > 0;
    }
    for (QAction* a : actions_) {
        const TCommandInfo* c = FindCommand(a->objectName());
        if (!c) continue;
        const bool enabled = implemented_.contains(a->objectName()) && CommandEnabled(c->rule, s);
        if (a->isEnabled() != enabled) a->setEnabled(enabled);
    }
    for (const MenuButton& m : menuButtons_) {
        const bool enabled = m.rule == MenuRule::Audio ? s.audio : s.open;
        if (m.button->isEnabled() != enabled) m.button->setEnabled(enabled);
    }
    for (QPushButton* b : transportButtons_) {
        QAction* a = Action(b->property("command").toString());
        const bool enabled = s.audio && a && a->isEnabled();
        if (b->isEnabled() != enabled) b->setEnabled(enabled);
    }
}

void TMainForm::StopTransport() {
    const int state = editor_->PlayState();
    if (state == 1 || state == 2 || state == 5) editor_->Stop();
}

void TMainForm::PlayCommand(int mode) {
    switch (editor_->PlayState()) {
    case 0: editor_->Play(mode); break;
    case 1: editor_->Stop(); break;
    case 5: editor_->Resume(); break;
    default: break;
    }
}

void TMainForm::PauseCommand() {
    switch (editor_->PlayState()) {
    case 0: editor_->Play(1); break;
    case 1: editor_->Pause(); break;
    case 5: editor_->Resume(); break;
    default: break;
    }
}

void TMainForm::SelectAll() { commands_->SelectAll(); }

void TMainForm::showHelp(const QString& topic) { sw::ShowHelpTopicGuarded(this, topic); }

void TMainForm::SetCommandListVisible(bool visible) {
    commandList_->setVisible(visible);
    if (splitter_->count() > 1) splitter_->handle(1)->setVisible(visible);
    if (QAction* a = Action("ActionShowCommandList")) a->setChecked(visible);
}

void TMainForm::SetCommandListOnTheLeft(bool left) {
    commandListLeft_ = left;
    const int width = commandList_->width() > 0 && commandList_->isVisible() ? commandList_->width()
                                                                             : vars_.CommandBarWidth;
    splitter_->insertWidget(left ? 0 : 1, commandList_);
    const int total = qMax(splitter_->width(), width + 200);
    splitter_->setSizes(left ? QList<int>{width, total - width} : QList<int>{total - width, width});
    splitter_->setStretchFactor(left ? 1 : 0, 1);
    splitter_->setStretchFactor(left ? 0 : 1, 0);
    if (QAction* a = Action(left ? "ActionOnTheLeft" : "ActionOnTheRight")) a->setChecked(true);
}

void TMainForm::readViewSettings() {
    sw::IniFile ini(SettingsPath());
    // Both axes: the scale font and colour ($F8DCA8); the frame.
    QFont scaleFont("Tahoma");
    scaleFont.setPointSize(7);
    view_->SetScaleFont(scaleFont, QColor(0xA8, 0xDC, 0xF8));
    view_->SetTypeBorder(4);
    // Colour set, meters.
    const bool dark = ini.ReadBool("System", "BlackWhite", true);
    if (QAction* a = Action("ActionWorkplaceBlackWhiteStyle")) a->setChecked(dark);
    view_->SetDarkColours(dark);
    leftBar_->setValue(0);
    rightBar_->setValue(0);
    // Axes; other format values change nothing (the view's own formats and
    // their check marks stay).
    SetScaleXFormat(view_->ScaleX().ScaleFormat, false);
    SetScaleYFormat(view_->ScaleY().ScaleFormat, false);
    const int hf = ini.ReadInteger("Horizontal", "Format", 2);
    if (hf == 1 || hf == 2) SetScaleXFormat(hf, false);
    const bool hv = ini.ReadBool("Horizontal", "Visible", true);
    Action("ActionHorizontalVisible")->setChecked(hv);
    view_->SetScaleXVisible(hv);
    const int vf = ini.ReadInteger("Vertical", "Format", 3);
    if (vf >= 1 && vf <= 3) SetScaleYFormat(vf, false);
    const bool vv = ini.ReadBool("Vertical", "Visible", true);
    Action("ActionVerticalVisible")->setChecked(vv);
    view_->SetScaleYVisible(vv);
    // Display mode.
    const int mode = ini.ReadInteger("WaveMode", "Mode", 1);
    if (mode == 1 || mode == 2) SetDisplayMode(mode, false);
    // Command list and the two ribbon marks.
    SetCommandListOnTheLeft(ini.ReadBool("System", "CommandBarOnTheLeft", true));
    SetCommandListVisible(ini.ReadBool("System", "ShowCommandBar", true));
    if (QAction* a = Action("ActionTransportRibbon")) a->setChecked(ini.ReadBool("System", "TopTranportBar", false));
    if (QAction* a = Action("ActionZoomRibbon")) a->setChecked(ini.ReadBool("System", "TopZoomBar", true));
}

void TMainForm::SetScaleXFormat(int format, bool write) {
    view_->SetScaleXFormat(format);
    if (QAction* a = Action(format == 1 ? "ActionHorizontalSample" : "ActionHorizontalDecimal")) a->setChecked(true);
    if (write) sw::IniFile(SettingsPath()).WriteInteger("Horizontal", "Format", view_->ScaleX().ScaleFormat);
}

void TMainForm::SetScaleYFormat(int format, bool write) {
    view_->SetScaleYFormat(format);
    const int f = view_->ScaleY().ScaleFormat;
    if (QAction* a = Action(f == 1 ? "ActionVerticalSampleValues" : f == 2 ? "ActionVerticalNormalizedValues"
                                                                           : "ActionVerticalDecibelValues"))
        a->setChecked(true);
    if (write) sw::IniFile(SettingsPath()).WriteInteger("Vertical", "Format", f);
}

void TMainForm::SetDisplayMode(int mode, bool write) {
    view_->SetTypeView(mode == 2 ? 1 : 0);
    if (QAction* a = Action(mode == 2 ? "ActionSpectralMode" : "ActionWaveformMode")) a->setChecked(true);
    if (write) sw::IniFile(SettingsPath()).WriteInteger("WaveMode", "Mode", mode == 2 ? 2 : 1);
}

void TMainForm::applyWorkFolder() {
    const QString folder = vars_.OP_UseDefFolder ? appData_ : vars_.OP_WorkingFolder;
    if (!folder.isEmpty()) editor_->SetTempDirectory(folder.toStdString());
}

void TMainForm::UpdateSelectionDisplay() {
    if (updatingSelection_) {
        nestedSelectionUpdate_ = true;
        return;
    }
    updatingSelection_ = true;
    if (!editor_->IsOpen()) {
        selectionChanged_ = labelSelectionSample_->text() != "0";
        for (QLabel* l : {labelStart_, labelEnd_, labelSelLength_, labelFileLength_, labelTime_})
            l->setText(FormatTimeText(0));
        labelSelectionSample_->setText("0");
    } else {
        auto& p = editor_->Position();
        const sw::SampleCount s = p.SelStart(), e = p.SelEnd();
        selectionChanged_ = QString::number(e - s) != labelSelectionSample_->text();
        auto text = [&](sw::SampleCount v) { return FormatTimeText(qint64(p.SamplesToMs(v))); };
        labelStart_->setText(text(s));
        labelEnd_->setText(text(e));
        labelSelLength_->setText(text(std::abs(e - s)));
        labelFileLength_->setText(text(p.Length()));
        labelTime_->setText(labelStart_->text());
        labelSelectionSample_->setText(QString::number(e - s));
    }
    if (RefreshAnalysis) RefreshAnalysis();
    updatingSelection_ = false;
    nestedSelectionUpdate_ = false;
}

void TMainForm::TimerRewindTimer() {
    commands_->RewindStep();
    commands_->EnsureCursorVisible();
}

void TMainForm::TimerForwordTimer() {
    commands_->ForwardStep();
    commands_->EnsureCursorVisible();
}

void TMainForm::ButtonRewindMouseDown() {
    view_->setFocus();
    StopTransport();
    timerRewind_->start();
}

void TMainForm::ButtonRewindMouseUp() {
    StopTransport();
    timerRewind_->stop();
}

void TMainForm::ButtonForwordMouseDown() {
    view_->setFocus();
    StopTransport();
    timerForword_->start();
}

void TMainForm::ButtonForwordMouseUp() {
    StopTransport();
    timerForword_->stop();
}

void TMainForm::FitClock(const QSize& box) {
    QFont f = labelTime_->font();
    f.setPointSize(FitClockFontSize(f, labelTime_->text(), box));
    if (f != labelTime_->font()) labelTime_->setFont(f);
}

void TMainForm::showTimeField(QLineEdit* edit) {
    if (!document_->IsOpen() || !editor_->IsOpen()) return;
    const qint64 s = commands_->SelStartMs(), e = commands_->SelEndMs();
    edit->setText(FormatTimeText(edit == editStart_ ? s : edit == editEnd_ ? e : e - s));
    edit->show();
    edit->raise();
    edit->setFocus();
    // Without an active window no focus event arrives; remember here too.
    rememberedStart_ = s;
    rememberedEnd_ = e;
    edit->selectAll();
}

void TMainForm::commitTimeField(QLineEdit* edit) {
    if (committing_ || edit->isHidden()) return;
    committing_ = edit;
    const TimeField field = edit == editStart_ ? TimeField::Start
                            : edit == editEnd_ ? TimeField::End
                                               : TimeField::Length;
    if (editor_->IsOpen() && commands_->ApplyTimeField(field, edit->text())) {
        const qint64 s = commands_->SelStartMs(), e = commands_->SelEndMs();
        edit->setText(FormatTimeText(field == TimeField::Start ? s : field == TimeField::End ? e : e - s));
    } else {
        edit->setText(FormatTimeText(field == TimeField::Start ? rememberedStart_
                                     : field == TimeField::End ? rememberedEnd_
                                                               : rememberedEnd_ - rememberedStart_));
    }
    edit->hide();
    committing_ = nullptr;
    UpdateSelectionDisplay();
    view_->update();
}

// ---- Progress ---------------------------------------------------------------

void TMainForm::ShowProgress(int percent) {
    if (progress_) progress_->ShowProgress(percent);
}

void TMainForm::HideProgress() {
    if (progress_) progress_->HideProgress();
    setEnabled(true);
}

TFormProgress* TMainForm::ProgressForm() const { return progressForm_.data(); }

void TMainForm::TransformBlock(int percent) {
    transformRunning_ = true;
    if (progress_) progress_->ShowProgress(percent, false);
}

void TMainForm::EndTransform() {
    if (progress_) progress_->HideProgress(false);
    transformRunning_ = false;
}

// ---- Effect preview ---------------------------------------------------------

bool TMainForm::StartPreview(const PreviewTransform& transform) {
    if (!editor_->IsOpen()) return false;
    player_->SetPlayFormat(editor_->FileInfo().SampleRate(), editor_->FileInfo().Channels());
    player_->OpenDevice();
    if (player_->DeviceError() != 0) {
        sw::ShowError("Starting audio device error.", this);
        return false;
    }
    auto& p = editor_->Position();
    previewLength_ = p.SelEnd() - p.SelStart();
    std::optional<sw::PlanarBuffer> processed;
    {
        const sw::PlanarBuffer copy = editor_->CopyToArray(previewLength_).ToPlanar();
        processed = transform ? transform(copy) : std::optional<sw::PlanarBuffer>(copy);
    }
    if (!processed) return false;
    if (!player_->PlayArray(*processed)) {
        sw::ShowError("Starting audio device error.", this);
        return false;
    }
    previewActive_ = true;
    return true;
}

void TMainForm::StopPreview() {
    player_->ClosePlayer();
    previewActive_ = false;
}

// ---- Start and end ----------------------------------------------------------

void TMainForm::AfterShow() {
    show();
    const QStringList& args = options_.arguments;
    if (!args.isEmpty()) {
        // The argument becomes the document's name, LastOpenDir and the
        // recent entry, so it is made absolute first.
        const QFileInfo fi(args.first());
        if (fi.exists() && fi.isFile() && TDocument::IsSupportedExtension("." + fi.suffix()))
            run([&] { document_->OpenDocument(fi.absoluteFilePath()); });
        return;
    }
    if (vars_.ShowStartDialog) RunWelcomeWindow();
}

void TMainForm::RunWelcomeWindow() {
    StopTransport();
    TWelcomeStartForm form(vars_, recent_, identity_.displayName, options_.exeDir, RecentFilesPath(), this);
    sw::ApplyHintFont(&form);
    sw::PlaceCentredOver(&form, this);
    sw::ExecDialog(form, this);
    switch (form.choice()) {
    case WelcomeChoice::NewFile: run([this] { document_->NewFile(); }); break;
    case WelcomeChoice::Open: run([this] { document_->Open(); }); break;
    case WelcomeChoice::RecentFile: OpenRecentFile(form.chosenFile()); break;
    case WelcomeChoice::NewRecord:
    case WelcomeChoice::LoadCD:
    case WelcomeChoice::TextToSpeech: {
        // These commands come with recording, CD loading and speech.
        const char* name = form.choice() == WelcomeChoice::NewRecord ? "ActionNewRecord"
                           : form.choice() == WelcomeChoice::LoadCD  ? "ActionLoadCD"
                                                                     : "ActionTextToSpeech";
        UpdateCommandStates();
        if (QAction* a = Action(name); a && a->isEnabled()) a->trigger();
        break;
    }
    case WelcomeChoice::None: break;
    }
}

void TMainForm::OpenRecentFile(const QString& path) {
    if (QFileInfo::exists(path)) {
        run([&] { document_->OpenDocument(path); });
        return;
    }
    sw::ShowError(path + " was not found.", this);
    recent_.Remove(path);
}

void TMainForm::FormClose() {
    sw::IniFile ini(SettingsPath());
    sw::WriteWindowPosition(ini, "FormPos", this, sw::WindowPositionStyle::ResizeWithFrame);
    recent_.Save(RecentFilesPath());
    if (commandList_->isVisible() && commandList_->width() > 0) vars_.CommandBarWidth = commandList_->width();
    if (!SaveSettings(vars_, ini)) sw::ShowError(ini.errorString(), this);
}

void TMainForm::closeEvent(QCloseEvent* event) {
    bool allowed = false;
    run([&] { allowed = document_->QueryExit(); });
    if (!allowed) {
        event->ignore();
        return;
    }
    FormClose();
    if (progressForm_) progressForm_->close();
    event->accept();
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event) {
    QStringList paths;
    for (const QUrl& u : event->mimeData()->urls()) paths << (u.isLocalFile() ? u.toLocalFile() : QString());
    event->acceptProposedAction();
    run([&] { document_->DropFiles(paths); });
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == panelTime_ && event->type() == QEvent::Resize) {
        FitClock(static_cast<QResizeEvent*>(event)->size());
        return false;
    }
    if (event->type() == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == labelStart_) showTimeField(editStart_);
        else if (watched == labelEnd_) showTimeField(editEnd_);
        else if (watched == labelSelLength_) showTimeField(editLength_);
    }
    if (watched == editStart_ || watched == editEnd_ || watched == editLength_) {
        auto* edit = static_cast<QLineEdit*>(watched);
        if (event->type() == QEvent::FocusIn) {
            rememberedStart_ = commands_->SelStartMs();
            rememberedEnd_ = commands_->SelEndMs();
            QTimer::singleShot(0, edit, &QLineEdit::selectAll);
        } else if (event->type() == QEvent::FocusOut) {
            commitTimeField(edit);
        } else if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                commitTimeField(edit);
                return true;
            }
        }
    }
    if (event->type() == QEvent::MouseButtonRelease && watched == view_ &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton && !selectionChanged_) {
        UpdateCommandStates();
        popupMenuMain_->popup(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
    }
    if (event->type() == QEvent::MouseButtonDblClick && watched == view_) {
        auto* me = static_cast<QMouseEvent*>(event);
        if (me->button() == Qt::LeftButton) {
            // The view never sees the double-click; it selects everything.
            UpdateCommandStates();
            if (QAction* a = Action("ActionSelectAll"); a && a->isEnabled()) a->trigger();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}
