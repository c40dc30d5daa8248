#pragma once
// Shared pieces of the converter's tests: a program folder with a profile of
// the test's choosing, a settings folder of its own, and the real main window
// built on them with scripted message and dialog services.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>
#include <memory>

#include "DialogService.h"
#include "Folders.h"
#include "FormMain.h"
#include "MessageService.h"
#include "ScriptedDialogService.h"
#include "ScriptedMessageService.h"
#include "Shell.h"

namespace rctest {

// Profile keys of a test build; "Name" defaults to "Test Caster".
using ProfileKeys = std::map<QString, QString>;

inline void WriteProfile(const QString& dir, const ProfileKeys& keys) {
    QFile f(dir + "/lame.dll");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QByteArray text = "[SYSTEM]\n";
    ProfileKeys all = keys;
    if (!all.count("Name")) all["Name"] = "Test Caster";
    for (const auto& [k, v] : all) text += (k + "=" + v + "\n").toUtf8();
    f.write(text);
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(program_.isValid());
        ASSERT_TRUE(config_.isValid());
        env_.home = config_.path() + "/home";
        env_.xdgConfigHome = config_.path() + "/config";
        env_.documentsLocation = config_.path() + "/home/Documents";
        QDir().mkpath(env_.documentsLocation);
        rc::SetShellOpener([this](const QString& t) { opened_ << t; });
    }
    void TearDown() override {
        form_.reset();
        rc::SetShellOpener({});
        EXPECT_FALSE(messages_.scriptFailed()) << messages_.failures().join("\n").toStdString();
        EXPECT_FALSE(dialogs_.scriptFailed()) << dialogs_.failures().join("\n").toStdString();
    }

    // Builds the window (and runs its start-up messages).
    rc::TFormMain& Open(const ProfileKeys& keys = {}, QRect screen = QRect(0, 0, 1280, 1024)) {
        WriteProfile(program_.path(), keys);
        rc::TFormMainOptions o;
        o.ProgramDir = program_.path();
        o.Folders = env_;
        o.Screen = screen;
        form_ = std::make_unique<rc::TFormMain>(o);
        QCoreApplication::processEvents();
        return *form_;
    }
    QString SettingsPath(const QString& title = "Test Caster") const {
        return env_.xdgConfigHome + "/" + title + "/system.dat";
    }

    QTemporaryDir program_, config_;
    sw::FolderEnvironment env_;
    sw::ScriptedMessageService messages_;
    sw::ScopedMessageService scopedMessages_{messages_};
    sw::ScriptedDialogService dialogs_;
    sw::ScopedDialogService scopedDialogs_{dialogs_};
    QStringList opened_;
    std::unique_ptr<rc::TFormMain> form_;
};

template <typename T>
T* Find(QWidget* root, const char* name) {
    T* w = root->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

}  // namespace rctest
