#include "platform/forms/SpokenRows.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QStringList>
#include <QTimer>
#include <algorithm>

#include "platform/forms/Controls.h"
#include "platform/forms/SpokenRoles.h"

namespace platform {
namespace {

// What the factory decides by (see MarkForScreenReader).
constexpr char kRowCaption[] = "tavelmarqueRowCaption";  // the caption label of an amount
constexpr char kRowFocused[] = "tavelmarqueRowFocused";
constexpr char kNotification[] = "tavelmarqueNotification";

// An amount as a read-only view of a text field: Orca reads its caption (the Label relation) and
// its text when it gets the focus, and echoes what is typed into it.
class RowAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
 public:
  explicit RowAccessible(QLabel* amount) : QAccessibleWidget(amount, QAccessible::EditableText) {}

  QString text(QAccessible::Text t) const override {
    return t == QAccessible::Value ? Text() : QString();
  }
  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.focusable = true;
    s.editable = true;
    s.focused = widget()->property(kRowFocused).toBool();
    return s;
  }
  QList<QPair<QAccessibleInterface*, QAccessible::Relation>> relations(
      QAccessible::Relation match) const override {
    auto related = QAccessibleWidget::relations(match);
    auto* caption = widget()->property(kRowCaption).value<QObject*>();
    if (caption != nullptr && (match & QAccessible::Label)) {
      related.append({QAccessible::queryAccessibleInterface(caption), QAccessible::Label});
    }
    return related;
  }
  void* interface_cast(QAccessible::InterfaceType t) override {
    if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
  }

  // The text interface over the amount; the caret at its start, nothing selected.
  void selection(int, int* start, int* end) const override { *start = *end = 0; }
  int selectionCount() const override { return 0; }
  void addSelection(int, int) override {}
  void removeSelection(int) override {}
  void setSelection(int, int, int) override {}
  int cursorPosition() const override { return 0; }
  void setCursorPosition(int) override {}
  QString text(int start, int end) const override { return Text().mid(start, end - start); }
  // An amount is one line: read as a whole, whatever the caret.
  QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* start,
                       int* end) const override {
    if (boundary == QAccessible::CharBoundary || boundary == QAccessible::WordBoundary) {
      return QAccessibleTextInterface::textAtOffset(offset, boundary, start, end);
    }
    *start = 0;
    *end = characterCount();
    return Text();
  }
  int characterCount() const override { return static_cast<int>(Text().size()); }
  // Every character on the label's one line: readers find lines by where characters lie.
  QRect characterRect(int offset) const override {
    const QRect line = rect();
    const int count = std::max(1, characterCount());
    return {line.x() + line.width() * offset / count, line.y(), std::max(1, line.width() / count),
            line.height()};
  }
  int offsetAtPoint(const QPoint&) const override { return -1; }
  void scrollToSubstring(int, int) override {}
  // One run without attributes over the whole text: Orca reads the text run by run.
  QString attributes(int, int* start, int* end) const override {
    *start = 0;
    *end = characterCount();
    return {};
  }

 private:
  QString Text() const { return static_cast<QLabel*>(widget())->text(); }
};

// Told when shown; its parent to a screen reader is the application, so that Orca says only it
// and not the window around it again.
class NotificationAccessible : public QAccessibleWidget {
 public:
  explicit NotificationAccessible(QWidget* note)
      : QAccessibleWidget(note, QAccessible::Notification) {}
  QString text(QAccessible::Text t) const override {
    return t == QAccessible::Name ? static_cast<QLabel*>(widget())->text() : QString();
  }
  QAccessibleInterface* parent() const override {
    return QAccessible::queryAccessibleInterface(qApp);
  }
};

QAccessibleInterface* Factory(const QString&, QObject* object) {
  auto* widget = qobject_cast<QWidget*>(object);
  if (widget == nullptr) return nullptr;
  if (widget->property(kRowCaption).isValid()) {
    if (auto* label = qobject_cast<QLabel*>(widget)) return new RowAccessible(label);
  }
  if (widget->property(kNotification).isValid()) return new NotificationAccessible(widget);
  return nullptr;
}

void Mark(QWidget& widget, const char* name, const QVariant& value) {
  MarkForScreenReader(widget, name, value, &Factory);
}

void Send(QObject* object, QAccessible::Event type) {
  QAccessibleEvent event(object, type);
  QAccessible::updateAccessibility(&event);
}

}  // namespace

SpokenRows::SpokenRows(QWidget& form, std::vector<std::pair<Label*, Label*>> rows)
    : QObject(&form), form_(form), rows_(std::move(rows)), note_(new QLabel(&form)) {
  note_->hide();
  Mark(*note_, kNotification, true);
  for (const auto& [caption, amount] : rows_) {
    Mark(*amount, kRowCaption, QVariant::fromValue<QObject*>(caption));
    said_.push_back(QString());
  }
  for (int row = 0; row < static_cast<int>(rows_.size()); ++row) said_[row] = Spoken(row);
  form.installEventFilter(this);
}

void SpokenRows::Select(int row) {
  if (row < 0 || row >= static_cast<int>(rows_.size())) return;
  rows_[selected_].second->setProperty(kRowFocused, false);
  selected_ = row;
  rows_[row].second->setProperty(kRowFocused, true);
  if (form_.isActiveWindow()) TellFocus();
}

void SpokenRows::Changed(Change change) {
  QStringList told;  // rows that share their labels are told once
  for (int row = 0; row < static_cast<int>(rows_.size()); ++row) {
    const QString now = Spoken(row);
    if (now == said_[row]) continue;
    Label& amount = *rows_[row].second;
    if (row == selected_ && change == Change::Typed) {
      // The characters typed, for Orca's echo: what was added at the end, or the whole text
      // where the first digit replaced the amount shown.
      const QString before = said_[row].section(QChar(u'\n'), 1);
      const QString after = amount.text();
      if (after.startsWith(before)) {
        QAccessibleTextInsertEvent event(&amount, static_cast<int>(before.size()),
                                         after.mid(before.size()));
        QAccessible::updateAccessibility(&event);
      } else {
        QAccessibleTextUpdateEvent event(&amount, 0, before, after);
        QAccessible::updateAccessibility(&event);
      }
    } else if (change == Change::Replaced || (change == Change::Ended && row != selected_)) {
      // A row the selection moved to is spoken by its focus.
      if (amount.isVisible() && !told.contains(now)) Announce(row);
      told.append(now);
    }
    said_[row] = now;
  }
}

bool SpokenRows::eventFilter(QObject* watched, QEvent* event) {
  // Qt tells of the window's own focus after its focus-in event, and a dialog's opening after its
  // activation: the row's focus comes after those.
  if (watched == &form_ &&
      (event->type() == QEvent::FocusIn || event->type() == QEvent::WindowActivate)) {
    QTimer::singleShot(0, this, [this] {
      if (form_.isActiveWindow()) TellFocus();
    });
  }
  return QObject::eventFilter(watched, event);
}

void SpokenRows::TellFocus() {
  rows_[selected_].second->setProperty(kRowFocused, true);
  Send(rows_[selected_].second, QAccessible::Focus);
}

void SpokenRows::Announce(int row) {
  note_->setText(rows_[row].first->text() + u' ' + rows_[row].second->text());
  Send(note_, QAccessible::ObjectShow);
}

QString SpokenRows::Spoken(int row) const {
  return rows_[row].first->text() + u'\n' + rows_[row].second->text();
}

}  // namespace platform
