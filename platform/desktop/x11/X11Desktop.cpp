#include <xcb/xcb.h>

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <utility>
#include <vector>

#include "platform/desktop/Desktop.h"

namespace platform {

namespace {

struct FreeDeleter {
  void operator()(void* p) const { std::free(p); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeDeleter>;

xcb_connection_t* Connection() {
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  return x11 != nullptr ? x11->connection() : nullptr;
}

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
  const auto cookie =
      xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
  Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(connection, cookie, nullptr));
  return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// The screen number of the display name, as in ":0.1"; 0 when it names none.
int ScreenNumber() {
  const QByteArray display = qgetenv("DISPLAY");
  const qsizetype colon = display.lastIndexOf(':');
  const qsizetype dot = display.indexOf('.', colon < 0 ? 0 : colon);
  if (colon < 0 || dot < 0) return 0;
  bool ok = false;
  const int screen = display.mid(dot + 1).toInt(&ok);
  return ok && screen >= 0 ? screen : 0;
}

// Tells of reparenting and destruction among the program's windows (Qt selects structure
// notifications on each of them), once per turn of the event loop however many came.
class HolderWatch final : public QObject, public QAbstractNativeEventFilter {
 public:
  HolderWatch(QObject& context, std::function<void()> changed)
      : QObject(&context), changed_(std::move(changed)) {
    QCoreApplication::instance()->installNativeEventFilter(this);
  }
  ~HolderWatch() override { QCoreApplication::instance()->removeNativeEventFilter(this); }
  HolderWatch(const HolderWatch&) = delete;
  HolderWatch& operator=(const HolderWatch&) = delete;

  bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override {
    if (eventType != "xcb_generic_event_t" || pending_) return false;
    const auto type = static_cast<xcb_generic_event_t*>(message)->response_type & 0x7f;
    if (type != XCB_REPARENT_NOTIFY && type != XCB_DESTROY_NOTIFY) return false;
    pending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
          pending_ = false;
          changed_();
        },
        Qt::QueuedConnection);
    return false;
  }

 private:
  std::function<void()> changed_;
  bool pending_ = false;
};

class X11Desktop final : public Desktop {
 public:
  void SetSkipTaskbarAndPager(QWidget& window, bool skip) override;
  bool PlacesWindows() const override { return true; }
  void StartSystemMove(QWidget&) override {}
  std::uint32_t UnshiftedKeySym(std::uint32_t nativeScanCode) const override;
  bool XEmbedTrayPresent() const override;
  bool HeldByAnother(const QWidget& window) const override;
  bool WatchHolders(QObject& context, std::function<void()> changed) override {
    new HolderWatch(context, std::move(changed));
    return true;
  }
  bool ShapeLimitsInputOnly() const override { return false; }
};

void X11Desktop::SetSkipTaskbarAndPager(QWidget& window, bool skip) {
  xcb_connection_t* connection = Connection();
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
  Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(connection, cookie, nullptr));
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

std::uint32_t X11Desktop::UnshiftedKeySym(std::uint32_t nativeScanCode) const {
  // Asked at each press rather than cached: the layout may be switched at any time, and the
  // server keeps the core mapping in step with it.
  xcb_connection_t* connection = Connection();
  const xcb_setup_t* setup = connection != nullptr ? xcb_get_setup(connection) : nullptr;
  if (setup == nullptr || nativeScanCode < setup->min_keycode ||
      nativeScanCode > setup->max_keycode) {
    return 0;
  }
  const auto cookie =
      xcb_get_keyboard_mapping(connection, static_cast<xcb_keycode_t>(nativeScanCode), 1);
  Reply<xcb_get_keyboard_mapping_reply_t> reply(
      xcb_get_keyboard_mapping_reply(connection, cookie, nullptr));
  if (!reply || reply->keysyms_per_keycode == 0 ||
      xcb_get_keyboard_mapping_keysyms_length(reply.get()) < 1) {
    return 0;
  }
  return xcb_get_keyboard_mapping_keysyms(reply.get())[0];
}

bool X11Desktop::XEmbedTrayPresent() const {
  xcb_connection_t* connection = Connection();
  if (connection == nullptr) return false;
  const QByteArray name = "_NET_SYSTEM_TRAY_S" + QByteArray::number(ScreenNumber());
  const xcb_atom_t selection = Atom(connection, name.constData());
  if (selection == XCB_ATOM_NONE) return false;
  Reply<xcb_get_selection_owner_reply_t> reply(xcb_get_selection_owner_reply(
      connection, xcb_get_selection_owner(connection, selection), nullptr));
  return reply && reply->owner != XCB_NONE;
}

bool X11Desktop::HeldByAnother(const QWidget& window) const {
  // An icon's window passes by the window manager, which frames the others: it stays the root's
  // child until a tray takes it into its panel.
  xcb_connection_t* connection = Connection();
  const auto id = static_cast<xcb_window_t>(window.internalWinId());
  if (connection == nullptr || id == XCB_NONE) return false;
  Reply<xcb_query_tree_reply_t> reply(
      xcb_query_tree_reply(connection, xcb_query_tree(connection, id), nullptr));
  return reply && reply->parent != reply->root;
}

}  // namespace

std::unique_ptr<Desktop> MakeX11Desktop() { return std::make_unique<X11Desktop>(); }

}  // namespace platform
