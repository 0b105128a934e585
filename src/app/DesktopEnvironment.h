#pragma once

class QGuiApplication;

namespace quorva {

// Names the application for the desktop (display name, desktop entry, window icon), keeps
// it running without windows, and makes theme icons resolvable even where no desktop
// provides a theme (offscreen, minimal sessions), lets screen readers and switch access tell
// and press the window's buttons, and draws the window in software. Call once, after
// QGuiApplication exists and before any window.
void configureDesktopApplication(QGuiApplication& application);

} // namespace quorva
