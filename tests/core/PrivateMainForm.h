#pragma once
// Options for a main window whose settings, cache and music folders all live
// in one temporary folder, so a test never touches the user's own.
#include <QTemporaryDir>

#include "MainForm.h"

inline TMainFormOptions PrivateMainFormOptions(const QTemporaryDir& home) {
    TMainFormOptions o;
    o.exeDir = home.path();
    o.env.home = home.path();
    o.env.xdgConfigHome = home.path() + "/config";
    o.env.xdgCacheHome = home.path() + "/cache";
    o.env.musicLocation = home.path();
    o.identity = IdentityFor(DefaultDisplayName());
    o.postAfterShow = false;
    return o;
}
