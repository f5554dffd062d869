// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace vtl::cli {

// Drops the two warnings Qt gives for every chart drawn without a display (no runtime folder in
// the environment, no window manager behind the offscreen platform); any other message goes on
// to Qt's own handler. Called before the application object is made.
void quietenOffscreenWarnings();

} // namespace vtl::cli
