// Watches a program's window on the X display and tells when it first showed what it shows at
// rest: the time the window was mapped and the time from which every icon colour of its last
// picture was on screen.
// Usage: bench_first_screen TITLE START; START is the CLOCK_MONOTONIC second the program was
// started at. It looks until its standard input ends (the program has settled), then prints
// "mapped S" and "first_screen S" in seconds since START.
#include <poll.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

double Now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

std::string Title(xcb_connection_t* x, xcb_window_t window) {
  xcb_get_property_cookie_t cookie =
      xcb_get_property(x, 0, window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 256);
  Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(x, cookie, nullptr), &std::free);
  if (!reply) return "";
  return std::string(static_cast<const char*>(xcb_get_property_value(reply.get())),
                     xcb_get_property_value_length(reply.get()));
}

bool Viewable(xcb_connection_t* x, xcb_window_t window) {
  Reply<xcb_get_window_attributes_reply_t> reply(
      xcb_get_window_attributes_reply(x, xcb_get_window_attributes(x, window), nullptr),
      &std::free);
  return reply && reply->map_state == XCB_MAP_STATE_VIEWABLE;
}

// The mapped top-level window with this title; 0 while there is none.
xcb_window_t FindWindow(xcb_connection_t* x, xcb_window_t root, const std::string& title) {
  Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(x, xcb_query_tree(x, root), nullptr),
                                     &std::free);
  if (!tree) return 0;
  xcb_window_t* children = xcb_query_tree_children(tree.get());
  for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i)
    if (Title(x, children[i]) == title && Viewable(x, children[i])) return children[i];
  return 0;
}

// The colours (5 bits a channel) that cover at least an icon's worth of a fifth of 48 x 48
// pixels: icons, not the edges of text.
std::vector<int> Colours(xcb_connection_t* x, xcb_window_t window) {
  Reply<xcb_get_geometry_reply_t> size(
      xcb_get_geometry_reply(x, xcb_get_geometry(x, window), nullptr), &std::free);
  if (!size) return {};
  Reply<xcb_get_image_reply_t> image(
      xcb_get_image_reply(
          x,
          xcb_get_image(x, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0, size->width, size->height, ~0u),
          nullptr),
      &std::free);
  if (!image) return {};
  const uint8_t* pixels = xcb_get_image_data(image.get());
  int length = xcb_get_image_data_length(image.get());
  std::vector<int> count(1 << 15, 0);
  for (int i = 0; i + 3 < length; i += 4)  // blue, green, red, unused
    ++count[(pixels[i + 2] >> 3) << 10 | (pixels[i + 1] >> 3) << 5 | pixels[i] >> 3];
  std::vector<int> colours;
  for (int key = 0; key < (1 << 15); ++key)
    if (count[key] >= 48 * 48 / 5) colours.push_back(key);
  return colours;
}

bool Includes(const std::vector<int>& all, const std::vector<int>& part) {
  size_t i = 0;
  for (int key : part) {
    while (i < all.size() && all[i] < key) ++i;
    if (i == all.size() || all[i] != key) return false;
  }
  return true;
}

bool InputEnded() {
  pollfd in{0, POLLIN, 0};
  if (poll(&in, 1, 0) <= 0) return false;
  char byte;
  return read(0, &byte, 1) <= 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s TITLE START\n", argv[0]);
    return 2;
  }
  std::string title = argv[1];
  double start = std::atof(argv[2]);
  xcb_connection_t* x = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(x)) return std::fprintf(stderr, "no display\n"), 1;
  xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
  xcb_window_t window = 0;
  while (!(window = FindWindow(x, root, title))) {
    if (InputEnded()) return std::fprintf(stderr, "the window never showed\n"), 1;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  double mapped = Now();
  struct Frame {
    double time;
    std::vector<int> colours;
  };
  std::vector<Frame> frames;
  while (!InputEnded()) {
    double time = Now();
    std::vector<int> colours = Colours(x, window);
    if (frames.empty() || colours != frames.back().colours) frames.push_back({time, colours});
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  if (frames.empty()) return std::fprintf(stderr, "no picture\n"), 1;
  // The first picture from which on everything of the last one was there.
  const std::vector<int>& last = frames.back().colours;
  size_t first = frames.size() - 1;
  while (first > 0 && Includes(frames[first - 1].colours, last)) --first;
  std::printf("mapped %.3f\nfirst_screen %.3f\n", mapped - start, frames[first].time - start);
  xcb_disconnect(x);
  return 0;
}
