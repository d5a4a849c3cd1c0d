#include "platform/X11WindowState.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QWidget>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace platform {

namespace {

struct FreeDeleter {
  void operator()(void* p) const { std::free(p); }
};

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
  const auto cookie =
      xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
  std::unique_ptr<xcb_intern_atom_reply_t, FreeDeleter> reply(
      xcb_intern_atom_reply(connection, cookie, nullptr));
  return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

}  // namespace

void SetSkipTaskbarAndPager(QWidget& window, bool skip) {
  // The offscreen platform answers for X11 too, without a connection.
  if (QGuiApplication::platformName() != QLatin1String("xcb")) return;
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
  if (connection == nullptr) return;
  const auto id = static_cast<xcb_window_t>(window.winId());
  const xcb_atom_t state = Atom(connection, "_NET_WM_STATE");
  const xcb_atom_t changed[] = {Atom(connection, "_NET_WM_STATE_SKIP_TASKBAR"),
                                Atom(connection, "_NET_WM_STATE_SKIP_PAGER")};
  if (state == XCB_ATOM_NONE) return;

  if (window.testAttribute(Qt::WA_Mapped)) {
    // A mapped window's states belong to the window manager: ask it.
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = id;
    event.type = state;
    event.data.data32[0] = skip ? 1 : 0;  // add or remove
    event.data.data32[1] = changed[0];
    event.data.data32[2] = changed[1];
    event.data.data32[3] = 1;  // from a normal application
    xcb_send_event(connection, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
    xcb_flush(connection);
    return;
  }

  // Before the map the property is the client's: the states already asked for are kept, and Qt
  // merges its own into the list when it maps.
  std::vector<xcb_atom_t> atoms;
  const auto cookie = xcb_get_property(connection, 0, id, state, XCB_ATOM_ATOM, 0, 1024);
  std::unique_ptr<xcb_get_property_reply_t, FreeDeleter> reply(
      xcb_get_property_reply(connection, cookie, nullptr));
  if (reply && reply->type == XCB_ATOM_ATOM && reply->format == 32) {
    const auto* data = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
    atoms.assign(data, data + xcb_get_property_value_length(reply.get()) / 4);
  }
  for (xcb_atom_t atom : changed) {
    if (atom == XCB_ATOM_NONE) continue;
    const auto at = std::find(atoms.begin(), atoms.end(), atom);
    if (skip && at == atoms.end()) atoms.push_back(atom);
    if (!skip && at != atoms.end()) atoms.erase(at);
  }
  xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, state, XCB_ATOM_ATOM, 32,
                      static_cast<std::uint32_t>(atoms.size()), atoms.data());
  xcb_flush(connection);
}

}  // namespace platform
