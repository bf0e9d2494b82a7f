// A small stand-in for a real window manager, for tests on a private Xvfb. It
// frames, places and focuses windows the way two real managers do where they
// differ from Openbox, so that those faults show without installing them:
//
//   fake_wm --like kwin      says nothing about _NET_REQUEST_FRAME_EXTENTS, so a
//                            window learns its frame only once it is framed, and
//                            puts the frame's corner where the client asked to be,
//                            whatever the window's gravity (as KWin and twm do).
//   fake_wm --like fluxbox   lists _NET_REQUEST_FRAME_EXTENTS and never answers a
//                            request; places by the window's gravity (static: the
//                            client where it asked, else the frame's corner).
//
// Both set _NET_FRAME_EXTENTS once a window is framed, give a new window the
// focus, and, like twm, leave the focus where the X server puts it when a
// window goes away (None): a program has to take it back itself.
//
// Options: --ready FILE (touched once the manager runs), --top N and
// --bottom N (a panel's strut: the work area leaves that much free).
//
// Plain Xlib and no toolkit, so that it starts in a few milliseconds.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

struct Extents {
  int left, right, top, bottom;
};

enum class Like { kwin, fluxbox };

// What the real managers put around a decorated window (measured on Debian 12).
constexpr Extents kKwinFrame{0, 0, 41, 0};
constexpr Extents kFluxboxFrame{1, 1, 20, 4};

struct Managed {
  Window frame;
  Extents extents;
};

Display* d = nullptr;
Window root = 0;
Like like = Like::kwin;
std::map<Window, Managed> clients;
std::map<std::string, Atom> atoms;

Atom atom(const char* name) {
  auto it = atoms.find(name);
  if (it != atoms.end()) return it->second;
  const Atom a = XInternAtom(d, name, False);
  atoms[name] = a;
  return a;
}

int ignoreErrors(Display*, XErrorEvent*) { return 0; }

void setCardinals(Window w, const char* name, const std::vector<long>& values) {
  XChangeProperty(d, w, atom(name), XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(values.data()),
                  static_cast<int>(values.size()));
}

// Qt asks for no decorations (the splash) through the Motif hints.
bool undecorated(Window w) {
  Atom type = 0;
  int format = 0;
  unsigned long items = 0, after = 0;
  unsigned char* data = nullptr;
  bool none = false;
  if (XGetWindowProperty(d, w, atom("_MOTIF_WM_HINTS"), 0, 5, False, AnyPropertyType, &type,
                         &format, &items, &after, &data) == Success &&
      data != nullptr) {
    const auto* v = reinterpret_cast<const unsigned long*>(data);
    none = format == 32 && items >= 3 && (v[0] & 2) != 0 && v[2] == 0;
    XFree(data);
  }
  return none;
}

int gravityOf(Window w) {
  XSizeHints hints{};
  long supplied = 0;
  if (XGetWMNormalHints(d, w, &hints, &supplied) && (hints.flags & PWinGravity))
    return hints.win_gravity;
  return NorthWestGravity;
}

// The frame's corner for a client that asks to be at `x`, `y`.
void frameCorner(Window client, const Extents& e, int& x, int& y) {
  if (like == Like::fluxbox && gravityOf(client) == StaticGravity) {
    x -= e.left;
    y -= e.top;
  }
}

// ICCCM: a framed client is told where it is on the root.
void tellPosition(Window client, const Managed& m) {
  XWindowAttributes fa, ca;
  if (!XGetWindowAttributes(d, m.frame, &fa) || !XGetWindowAttributes(d, client, &ca)) return;
  XEvent e{};
  e.xconfigure.type = ConfigureNotify;
  e.xconfigure.event = client;
  e.xconfigure.window = client;
  e.xconfigure.x = fa.x + m.extents.left;
  e.xconfigure.y = fa.y + m.extents.top;
  e.xconfigure.width = ca.width;
  e.xconfigure.height = ca.height;
  XSendEvent(d, client, False, StructureNotifyMask, &e);
}

void focus(Window client) {
  XSetInputFocus(d, client, RevertToNone, CurrentTime);
  XChangeProperty(d, root, atom("_NET_ACTIVE_WINDOW"), XA_WINDOW, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&client), 1);
}

void manage(Window client) {
  XWindowAttributes a;
  if (!XGetWindowAttributes(d, client, &a) || a.override_redirect) return;
  const Extents e =
      undecorated(client) ? Extents{0, 0, 0, 0} : (like == Like::kwin ? kKwinFrame : kFluxboxFrame);
  int x = a.x, y = a.y;
  frameCorner(client, e, x, y);
  XSetWindowAttributes fa{};
  fa.background_pixel = 0x707070;
  fa.event_mask = SubstructureRedirectMask | SubstructureNotifyMask;
  const Window frame =
      XCreateWindow(d, root, x, y, static_cast<unsigned>(a.width + e.left + e.right),
                    static_cast<unsigned>(a.height + e.top + e.bottom), 0, CopyFromParent,
                    InputOutput, CopyFromParent, CWBackPixel | CWEventMask, &fa);
  XSetWindowBorderWidth(d, client, 0);
  XAddToSaveSet(d, client);
  XReparentWindow(d, client, frame, e.left, e.top);
  clients[client] = {frame, e};
  setCardinals(client, "_NET_FRAME_EXTENTS", {e.left, e.right, e.top, e.bottom});
  const long normal[2] = {NormalState, 0};
  XChangeProperty(d, client, atom("WM_STATE"), atom("WM_STATE"), 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(normal), 2);
  XMapWindow(d, client);
  XMapRaised(d, frame);
  tellPosition(client, clients[client]);
  XWMHints* hints = XGetWMHints(d, client);
  const bool takesFocus = hints == nullptr || !(hints->flags & InputHint) || hints->input;
  if (hints != nullptr) XFree(hints);
  if (takesFocus) focus(client);
}

void unmanage(Window client, bool destroyed) {
  auto it = clients.find(client);
  if (it == clients.end()) return;
  const Managed m = it->second;
  clients.erase(it);
  if (!destroyed) {
    // Withdrawn: back on the root where it stands, marked as such.
    int x = 0, y = 0;
    Window child = 0;
    XTranslateCoordinates(d, client, root, 0, 0, &x, &y, &child);
    XReparentWindow(d, client, root, x, y);
    XRemoveFromSaveSet(d, client);
    XDeleteProperty(d, client, atom("WM_STATE"));
    XDeleteProperty(d, client, atom("_NET_FRAME_EXTENTS"));
  }
  XDestroyWindow(d, m.frame);
}

void configure(const XConfigureRequestEvent& r) {
  auto it = clients.find(r.window);
  if (it == clients.end()) {
    XWindowChanges c{};
    c.x = r.x;
    c.y = r.y;
    c.width = r.width;
    c.height = r.height;
    c.border_width = r.border_width;
    c.sibling = r.above;
    c.stack_mode = r.detail;
    XConfigureWindow(d, r.window, static_cast<unsigned>(r.value_mask), &c);
    return;
  }
  const Managed& m = it->second;
  XWindowAttributes fa, ca;
  if (!XGetWindowAttributes(d, m.frame, &fa) || !XGetWindowAttributes(d, r.window, &ca)) return;
  const int width = (r.value_mask & CWWidth) ? r.width : ca.width;
  const int height = (r.value_mask & CWHeight) ? r.height : ca.height;
  int x = fa.x, y = fa.y;
  if (r.value_mask & (CWX | CWY)) {
    int askedX = (r.value_mask & CWX) ? r.x : fa.x + m.extents.left;
    int askedY = (r.value_mask & CWY) ? r.y : fa.y + m.extents.top;
    frameCorner(r.window, m.extents, askedX, askedY);
    x = askedX;
    y = askedY;
  }
  XMoveResizeWindow(d, m.frame, x, y,
                    static_cast<unsigned>(width + m.extents.left + m.extents.right),
                    static_cast<unsigned>(height + m.extents.top + m.extents.bottom));
  XMoveResizeWindow(d, r.window, m.extents.left, m.extents.top, static_cast<unsigned>(width),
                    static_cast<unsigned>(height));
  if ((r.value_mask & CWStackMode) && r.detail == Above) XRaiseWindow(d, m.frame);
  tellPosition(r.window, m);
}

void clientMessage(const XClientMessageEvent& m) {
  if (m.message_type == atom("_NET_ACTIVE_WINDOW")) {
    auto it = clients.find(m.window);
    if (it == clients.end()) return;
    XRaiseWindow(d, it->second.frame);
    focus(m.window);
  }
  // _NET_REQUEST_FRAME_EXTENTS: promised (fluxbox) or not (kwin), never answered.
}

}  // namespace

int main(int argc, char** argv) {
  std::string ready;
  int top = 0, bottom = 0;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    const std::string value = argv[i + 1];
    if (option == "--like") {
      if (value == "kwin") {
        like = Like::kwin;
      } else if (value == "fluxbox") {
        like = Like::fluxbox;
      } else {
        std::fprintf(stderr, "fake_wm: --like kwin or fluxbox\n");
        return 2;
      }
    } else if (option == "--ready") {
      ready = value;
    } else if (option == "--top") {
      top = std::atoi(value.c_str());
    } else if (option == "--bottom") {
      bottom = std::atoi(value.c_str());
    }
  }
  d = XOpenDisplay(nullptr);
  if (d == nullptr) {
    std::fprintf(stderr, "fake_wm: no display\n");
    return 1;
  }
  root = DefaultRootWindow(d);
  XSelectInput(d, root, SubstructureRedirectMask | SubstructureNotifyMask);
  XSync(d, False);
  XSetErrorHandler(ignoreErrors);

  const Window check = XCreateSimpleWindow(d, root, -10, -10, 1, 1, 0, 0, 0);
  for (Window w : {check, root})
    XChangeProperty(d, w, atom("_NET_SUPPORTING_WM_CHECK"), XA_WINDOW, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&check), 1);
  const std::string name = like == Like::kwin ? "fake-kwin" : "fake-fluxbox";
  XChangeProperty(d, check, atom("_NET_WM_NAME"), atom("UTF8_STRING"), 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(name.data()),
                  static_cast<int>(name.size()));
  std::vector<Atom> supported;
  for (const char* n :
       {"_NET_SUPPORTED", "_NET_SUPPORTING_WM_CHECK", "_NET_WM_NAME", "_NET_FRAME_EXTENTS",
        "_NET_WORKAREA", "_NET_ACTIVE_WINDOW", "_NET_WM_STATE", "_NET_WM_WINDOW_TYPE"})
    supported.push_back(atom(n));
  if (like == Like::fluxbox) supported.push_back(atom("_NET_REQUEST_FRAME_EXTENTS"));
  XChangeProperty(d, root, atom("_NET_SUPPORTED"), XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(supported.data()),
                  static_cast<int>(supported.size()));
  const int width = DisplayWidth(d, DefaultScreen(d));
  const int height = DisplayHeight(d, DefaultScreen(d));
  setCardinals(root, "_NET_WORKAREA", {0, top, width, height - top - bottom});
  XSync(d, False);
  if (!ready.empty()) std::ofstream(ready.c_str()) << "ready\n";

  while (true) {
    XEvent e;
    XNextEvent(d, &e);
    switch (e.type) {
      case MapRequest:
        if (clients.count(e.xmaprequest.window) == 0) manage(e.xmaprequest.window);
        break;
      case ConfigureRequest: configure(e.xconfigurerequest); break;
      case UnmapNotify:
        if (clients.count(e.xunmap.window) != 0) unmanage(e.xunmap.window, false);
        break;
      case DestroyNotify:
        if (clients.count(e.xdestroywindow.window) != 0) unmanage(e.xdestroywindow.window, true);
        break;
      case ClientMessage: clientMessage(e.xclient); break;
      default: break;
    }
    XFlush(d);
  }
}
