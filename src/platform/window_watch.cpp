#include "platform/window_watch.h"

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/process.h"

namespace oxlip::platform {
namespace {

template <typename T>
struct Reply {
  explicit Reply(T* reply) : get(reply) {}
  ~Reply() { std::free(get); }
  Reply(const Reply&) = delete;
  Reply& operator=(const Reply&) = delete;
  T* get;
};

// EWMH: a request on behalf of a normal program; 1 adds a state, 0 removes it.
constexpr std::uint32_t kSourceApplication = 1;
constexpr std::uint32_t kStateRemove = 0;
constexpr std::uint32_t kStateAdd = 1;
// Reparenting window managers put each program window one level below a frame of their own.
constexpr int kTopLevelDepth = 2;

}  // namespace

struct DisplayConnection::Impl {
  xcb_connection_t* connection = nullptr;
  xcb_screen_t* screen = nullptr;
  xcb_atom_t client_list = 0, net_name = 0, utf8 = 0, pid = 0, state = 0, max_vert = 0,
             max_horz = 0, wm_check = 0, supported = 0, frame_extents = 0;

  xcb_atom_t Atom(const char* name) {
    Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, std::strlen(name), name), nullptr));
    return reply.get ? reply.get->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
  }

  // The property's bytes; nothing when the window has none (or is gone).
  std::optional<std::string> Property(xcb_window_t window, xcb_atom_t property, xcb_atom_t type) {
    Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, property, type, 0, 1 << 16), nullptr));
    if (!reply.get || reply.get->type == XCB_ATOM_NONE) return std::nullopt;
    // Of another type the server sends no value: that is no value of the wanted type.
    if (type != XCB_GET_PROPERTY_TYPE_ANY && reply.get->type != type) return std::nullopt;
    int length = xcb_get_property_value_length(reply.get);
    const char* value = static_cast<const char*>(xcb_get_property_value(reply.get));
    return std::string(value, static_cast<std::size_t>(length > 0 ? length : 0));
  }

  std::vector<std::uint32_t> Numbers(xcb_window_t window, xcb_atom_t property, xcb_atom_t type) {
    std::optional<std::string> bytes = Property(window, property, type);
    std::vector<std::uint32_t> out(bytes ? bytes->size() / 4 : 0);
    if (!out.empty()) std::memcpy(out.data(), bytes->data(), out.size() * 4);
    return out;
  }

  std::vector<xcb_window_t> Children(xcb_window_t window) {
    Reply<xcb_query_tree_reply_t> reply(
        xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr));
    if (!reply.get) return {};
    xcb_window_t* children = xcb_query_tree_children(reply.get);
    return {children, children + xcb_query_tree_children_length(reply.get)};
  }

  // The manager names a window of its own that names itself; a stale value from a manager
  // that has ended names a window that no longer does.
  bool ManagerRuns() {
    std::vector<std::uint32_t> check = Numbers(screen->root, wm_check, XCB_ATOM_WINDOW);
    if (check.empty()) return false;
    std::vector<std::uint32_t> self = Numbers(check[0], wm_check, XCB_ATOM_WINDOW);
    return !self.empty() && self[0] == check[0];
  }

  // The window manager's list of program windows (an ended one leaves a stale list behind),
  // else the root's children and theirs.
  std::vector<xcb_window_t> TopLevelWindows() {
    std::vector<xcb_window_t> list;
    if (ManagerRuns()) list = Numbers(screen->root, client_list, XCB_ATOM_WINDOW);
    if (!list.empty()) return list;
    std::vector<xcb_window_t> level = Children(screen->root);
    for (int depth = 0; depth < kTopLevelDepth && !level.empty(); ++depth) {
      list.insert(list.end(), level.begin(), level.end());
      std::vector<xcb_window_t> next;
      if (depth + 1 < kTopLevelDepth)
        for (xcb_window_t window : level) {
          std::vector<xcb_window_t> below = Children(window);
          next.insert(next.end(), below.begin(), below.end());
        }
      level = std::move(next);
    }
    return list;
  }

  std::optional<std::string> Title(xcb_window_t window) {
    std::optional<std::string> title = Property(window, net_name, utf8);
    return title ? title : Property(window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY);
  }

  bool ClassMatches(xcb_window_t window, const std::string& wanted) {
    if (wanted.empty()) return true;
    std::optional<std::string> value = Property(window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING);
    if (!value) return false;
    // "instance\0class\0"
    std::string instance = value->substr(0, value->find('\0'));
    std::size_t second = instance.size() + 1;
    std::string window_class =
        second < value->size() ? value->substr(second, value->find('\0', second) - second) : "";
    return instance == wanted || window_class == wanted;
  }

  bool ProcessMatches(xcb_window_t window, int process_id) {
    std::vector<std::uint32_t> pid = Numbers(window, this->pid, XCB_ATOM_CARDINAL);
    return !pid.empty() && pid[0] > 0 && InProcessTree(static_cast<int>(pid[0]), process_id);
  }

  bool Viewable(xcb_window_t window) {
    Reply<xcb_get_window_attributes_reply_t> reply(xcb_get_window_attributes_reply(
        connection, xcb_get_window_attributes(connection, window), nullptr));
    return reply.get && reply.get->map_state == XCB_MAP_STATE_VIEWABLE;
  }

  void SendState(xcb_window_t window, std::uint32_t action) {
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = state;
    event.data.data32[0] = action;
    event.data.data32[1] = max_vert;
    event.data.data32[2] = max_horz;
    event.data.data32[3] = kSourceApplication;
    xcb_send_event(connection, 0, screen->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
    xcb_flush(connection);
  }
};

DisplayConnection::DisplayConnection(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

DisplayConnection::~DisplayConnection() { xcb_disconnect(impl_->connection); }

std::unique_ptr<DisplayConnection> DisplayConnection::Connect() {
  const char* display = std::getenv("DISPLAY");
  if (!display || !*display) return nullptr;
  auto impl = std::make_unique<Impl>();
  int screen_number = 0;
  impl->connection = xcb_connect(nullptr, &screen_number);
  if (xcb_connection_has_error(impl->connection)) {
    xcb_disconnect(impl->connection);
    return nullptr;
  }
  xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(impl->connection));
  for (int i = 0; i < screen_number && it.rem > 0; ++i) xcb_screen_next(&it);
  if (it.rem == 0) {
    xcb_disconnect(impl->connection);
    return nullptr;
  }
  impl->screen = it.data;
  impl->client_list = impl->Atom("_NET_CLIENT_LIST");
  impl->net_name = impl->Atom("_NET_WM_NAME");
  impl->utf8 = impl->Atom("UTF8_STRING");
  impl->pid = impl->Atom("_NET_WM_PID");
  impl->state = impl->Atom("_NET_WM_STATE");
  impl->max_vert = impl->Atom("_NET_WM_STATE_MAXIMIZED_VERT");
  impl->max_horz = impl->Atom("_NET_WM_STATE_MAXIMIZED_HORZ");
  impl->wm_check = impl->Atom("_NET_SUPPORTING_WM_CHECK");
  impl->supported = impl->Atom("_NET_SUPPORTED");
  impl->frame_extents = impl->Atom("_NET_FRAME_EXTENTS");
  return std::unique_ptr<DisplayConnection>(new DisplayConnection(std::move(impl)));
}

bool DisplayConnection::Usable() const { return xcb_connection_has_error(impl_->connection) == 0; }

std::optional<WindowId> DisplayConnection::FindWindow(const WindowQuery& query) {
  if (!Usable()) return std::nullopt;
  for (xcb_window_t window : impl_->TopLevelWindows()) {
    std::optional<std::string> title = impl_->Title(window);
    if (!title || *title != query.title) continue;
    if (impl_->ClassMatches(window, query.window_class) &&
        impl_->ProcessMatches(window, query.process_id) && impl_->Viewable(window))
      return window;
  }
  return std::nullopt;
}

bool DisplayConnection::HasWindowManager() { return impl_->ManagerRuns(); }

bool DisplayConnection::Framed(WindowId window) {
  if (!impl_->ManagerRuns()) return true;
  std::vector<std::uint32_t> supported =
      impl_->Numbers(impl_->screen->root, impl_->supported, XCB_ATOM_ATOM);
  bool tells =
      std::find(supported.begin(), supported.end(), impl_->frame_extents) != supported.end();
  return !tells || impl_->Property(window, impl_->frame_extents, XCB_ATOM_CARDINAL).has_value();
}

void DisplayConnection::Maximize(WindowId window) {
  if (HasWindowManager()) {
    impl_->SendState(window, kStateAdd);
    return;
  }
  WindowGeometry screen = Screen();
  MoveResize(window, screen);
}

bool DisplayConnection::IsMaximized(WindowId window) {
  if (!HasWindowManager()) {
    std::optional<WindowGeometry> g = Geometry(window);
    return g && *g == Screen();
  }
  std::vector<std::uint32_t> states = impl_->Numbers(window, impl_->state, XCB_ATOM_ATOM);
  auto has = [&](std::uint32_t atom) {
    return std::find(states.begin(), states.end(), atom) != states.end();
  };
  return has(impl_->max_vert) && has(impl_->max_horz);
}

void DisplayConnection::Unmaximize(WindowId window) {
  if (HasWindowManager()) impl_->SendState(window, kStateRemove);
}

void DisplayConnection::MoveResize(WindowId window, const WindowGeometry& g) {
  const std::uint32_t values[] = {static_cast<std::uint32_t>(g.x), static_cast<std::uint32_t>(g.y),
                                  static_cast<std::uint32_t>(g.width),
                                  static_cast<std::uint32_t>(g.height)};
  xcb_configure_window(impl_->connection, window,
                       XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH |
                           XCB_CONFIG_WINDOW_HEIGHT,
                       values);
  xcb_flush(impl_->connection);
}

WindowGeometry DisplayConnection::Screen() {
  return {0, 0, impl_->screen->width_in_pixels, impl_->screen->height_in_pixels};
}

std::optional<WindowGeometry> DisplayConnection::Geometry(WindowId window) {
  xcb_connection_t* c = impl_->connection;
  Reply<xcb_get_geometry_reply_t> size(
      xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr));
  Reply<xcb_translate_coordinates_reply_t> place(xcb_translate_coordinates_reply(
      c, xcb_translate_coordinates(c, window, impl_->screen->root, 0, 0), nullptr));
  if (!size.get || !place.get) return std::nullopt;
  return WindowGeometry{place.get->dst_x, place.get->dst_y, size.get->width, size.get->height};
}

std::vector<std::string> DisplayConnection::States(WindowId window) {
  std::vector<std::string> names;
  for (std::uint32_t atom : impl_->Numbers(window, impl_->state, XCB_ATOM_ATOM)) {
    xcb_connection_t* c = impl_->connection;
    Reply<xcb_get_atom_name_reply_t> name(
        xcb_get_atom_name_reply(c, xcb_get_atom_name(c, atom), nullptr));
    if (name.get)
      names.emplace_back(xcb_get_atom_name_name(name.get),
                         static_cast<std::size_t>(xcb_get_atom_name_name_length(name.get)));
  }
  return names;
}

}  // namespace oxlip::platform
