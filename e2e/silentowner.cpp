// A clipboard owner that never answers: it takes the X11 clipboard and lets every request
// for it go unanswered, until another program takes the clipboard or it is ended. Prints
// "owner" once it holds the clipboard, and "asked" for every request it leaves unanswered.
//
//   silentowner
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main() {
  xcb_connection_t* c = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(c)) {
    std::fprintf(stderr, "silentowner: cannot open the X display\n");
    return 1;
  }
  const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
  const xcb_window_t window = xcb_generate_id(c);
  xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 1, 1, 0,
                    XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
  const char name[] = "CLIPBOARD";
  xcb_intern_atom_reply_t* atom =
      xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::strlen(name), name), nullptr);
  if (!atom) return 1;
  xcb_set_selection_owner(c, window, atom->atom, XCB_CURRENT_TIME);
  std::free(atom);
  xcb_flush(c);
  std::puts("owner");
  std::fflush(stdout);
  while (xcb_generic_event_t* event = xcb_wait_for_event(c)) {
    const int type = event->response_type & ~0x80;
    std::free(event);
    if (type == XCB_SELECTION_CLEAR) break;
    if (type == XCB_SELECTION_REQUEST) {
      std::puts("asked");
      std::fflush(stdout);
    }
  }
  xcb_disconnect(c);
  return 0;
}
