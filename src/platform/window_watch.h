#pragma once
// The X11 display as the game watch needs it: find a program's top-level window and maximise
// it. Without a display nothing here is ever reached (Connect gives nothing).
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace oxlip::platform {

using WindowId = std::uint32_t;

struct WindowQuery {
  std::string title;         // exactly, as _NET_WM_NAME or else WM_NAME gives it
  std::string window_class;  // either string of WM_CLASS; empty: any class
  int process_id = -1;       // _NET_WM_PID in this process's tree
};

struct WindowGeometry {
  int x = 0, y = 0;  // on the screen
  int width = 0, height = 0;
  bool operator==(const WindowGeometry&) const = default;
};

class DisplayConnection {
 public:
  // The display named by DISPLAY; nullptr when there is none or it does not answer.
  static std::unique_ptr<DisplayConnection> Connect();
  ~DisplayConnection();
  DisplayConnection(const DisplayConnection&) = delete;
  DisplayConnection& operator=(const DisplayConnection&) = delete;

  // False once the server has gone away; the connection is of no use then.
  bool Usable() const;

  // The first shown top-level window that answers the query; nothing when none does.
  std::optional<WindowId> FindWindow(const WindowQuery& query);

  // A window manager that follows the EWMH runs on the display.
  bool HasWindowManager();
  // The window manager has put its frame around the window (it set _NET_FRAME_EXTENTS); true
  // without a manager, or with one that does not tell.
  bool Framed(WindowId window);
  // With a window manager, the EWMH maximise request; without one, the window moved and
  // resized to cover the screen.
  void Maximize(WindowId window);
  // The EWMH request that takes the maximised state back (with a window manager only).
  // Whether the window shows maximised: so marked by the window manager, or, without one,
  // covering the screen.
  bool IsMaximized(WindowId window);
  void Unmaximize(WindowId window);
  void MoveResize(WindowId window, const WindowGeometry& geometry);

  WindowGeometry Screen();
  std::optional<WindowGeometry> Geometry(WindowId window);
  // The names of the atoms in the window's _NET_WM_STATE.
  std::vector<std::string> States(WindowId window);

 private:
  struct Impl;
  explicit DisplayConnection(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

}  // namespace oxlip::platform
