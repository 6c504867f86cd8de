// The start-up benchmarks' clock: runs a program and prints the milliseconds from its exec
// to the moment a viewable window with the given title is on the display (with --focused:
// and has the keyboard), asking the X server directly every half millisecond (a tool
// started per look would add its own start to every figure). The window may be another
// process's that the program handed its command to. A program still running is then asked
// to end, and its window is waited out; one that has ended leaves its window to the caller.
//
//   firstwindow [--focused] TITLE PROGRAM [ARGUMENTS...]
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

double Now() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
  xcb_intern_atom_reply_t* reply =
      xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::strlen(name), name), nullptr);
  const xcb_atom_t atom = reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
  std::free(reply);
  return atom;
}

// Whether a viewable window titled `title` is anywhere below `root` (clients sit one or two
// levels down, under their window manager's frames).
bool Shown(xcb_connection_t* c, xcb_window_t root, xcb_atom_t netName, xcb_atom_t utf8,
           const std::string& title, bool focused = false) {
  xcb_window_t focus = XCB_WINDOW_NONE;
  if (focused) {
    xcb_get_input_focus_reply_t* reply =
        xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr);
    if (reply) focus = reply->focus;
    std::free(reply);
    if (focus == XCB_WINDOW_NONE) return false;
  }
  std::vector<xcb_window_t> level{root};
  for (int depth = 0; depth < 3 && !level.empty(); ++depth) {
    std::vector<xcb_query_tree_cookie_t> trees;
    for (xcb_window_t w : level) trees.push_back(xcb_query_tree(c, w));
    std::vector<xcb_window_t> next;
    for (xcb_query_tree_cookie_t cookie : trees) {
      xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c, cookie, nullptr);
      if (!tree) continue;
      const xcb_window_t* children = xcb_query_tree_children(tree);
      next.insert(next.end(), children, children + xcb_query_tree_children_length(tree));
      std::free(tree);
    }
    std::vector<xcb_get_property_cookie_t> names;
    std::vector<xcb_get_window_attributes_cookie_t> states;
    for (xcb_window_t w : next) {
      names.push_back(xcb_get_property(c, 0, w, netName, utf8, 0, 64));
      states.push_back(xcb_get_window_attributes(c, w));
    }
    bool found = false;
    for (std::size_t i = 0; i < next.size(); ++i) {
      xcb_get_property_reply_t* name = xcb_get_property_reply(c, names[i], nullptr);
      xcb_get_window_attributes_reply_t* state =
          xcb_get_window_attributes_reply(c, states[i], nullptr);
      if (name && state && state->map_state == XCB_MAP_STATE_VIEWABLE &&
          (!focused || next[i] == focus) &&
          std::string(static_cast<const char*>(xcb_get_property_value(name)),
                      static_cast<std::size_t>(xcb_get_property_value_length(name))) == title)
        found = true;
      std::free(name);
      std::free(state);
    }
    if (found) return true;
    level = std::move(next);
  }
  return false;
}

void Pause() {
  const timespec half{0, 500000};
  nanosleep(&half, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
  const bool focused = argc > 1 && std::strcmp(argv[1], "--focused") == 0;
  if (focused) {
    --argc;
    ++argv;
  }
  if (argc < 3) {
    std::fprintf(stderr, "usage: firstwindow [--focused] TITLE PROGRAM [ARGUMENTS...]\n");
    return 2;
  }
  const std::string title = argv[1];
  xcb_connection_t* c = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(c)) {
    std::fprintf(stderr, "firstwindow: cannot reach the display\n");
    return 1;
  }
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
  const xcb_atom_t netName = Atom(c, "_NET_WM_NAME");
  const xcb_atom_t utf8 = Atom(c, "UTF8_STRING");
  if (Shown(c, root, netName, utf8, title)) {
    std::fprintf(stderr, "firstwindow: a window titled '%s' is already shown\n", title.c_str());
    return 1;
  }

  const double start = Now();
  const pid_t child = fork();
  if (child == 0) {
    execvp(argv[2], argv + 2);
    _exit(127);
  }
  int status = 0;
  double shownAt = -1;
  bool ended = false;
  while (Now() - start < 20000) {
    if (Shown(c, root, netName, utf8, title, focused)) {
      shownAt = Now();
      break;
    }
    // A program that handed its command over ends before the window shows.
    if (!ended && waitpid(child, &status, WNOHANG) == child) ended = true;
    Pause();
  }
  if (shownAt < 0) {
    if (!ended) {
      kill(child, SIGKILL);
      waitpid(child, &status, 0);
    }
    std::fprintf(stderr, "firstwindow: %s showed no window titled '%s'\n", argv[2], title.c_str());
    return 1;
  }
  std::printf("%.1f\n", shownAt - start);
  std::fflush(stdout);
  if (!ended && waitpid(child, &status, WNOHANG) != child) {
    kill(child, SIGTERM);
    waitpid(child, &status, 0);
    // Its own window goes with it; one of another process's stays (the caller closes it).
    const double until = Now() + 5000;
    while (Shown(c, root, netName, utf8, title) && Now() < until) Pause();
  }
  xcb_disconnect(c);
  return 0;
}
