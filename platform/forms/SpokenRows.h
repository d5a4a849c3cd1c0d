#pragma once

#include <QObject>
#include <QString>
#include <utility>
#include <vector>

class QLabel;
class QWidget;

namespace platform {

class Label;

// What a screen reader is told of a form that keeps the keyboard itself and shows amounts in
// rows: each row's amount is a text field to it, labelled by the row's caption, and the selected
// row has the focus. Orca speaks a newly focused object and the text typed into it, but not a
// label changing elsewhere: a result that appears in another row is told as a notification.
class SpokenRows : public QObject {
 public:
  // Why the rows' texts changed: typing into the selected row (its characters are echoed), the
  // selected row given a new amount or currency as a whole (Escape, a paste, another currency:
  // every row that changed is told), or an entry ending (the other rows that changed are told).
  enum class Change { Typed, Replaced, Ended };

  // `rows` are pairs of a caption and an amount label, children of `form`.
  SpokenRows(QWidget& form, std::vector<std::pair<Label*, Label*>> rows);

  // The selected row; its focus is told when the form has the keyboard.
  void Select(int row);
  // Tells what changed since the last call, after the labels show the new texts.
  void Changed(Change change);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void TellFocus();
  void Announce(int row);
  QString Spoken(int row) const;

  QWidget& form_;
  std::vector<std::pair<Label*, Label*>> rows_;
  std::vector<QString> said_;  // each row's caption and amount when last looked at
  int selected_ = 0;
  QLabel* note_;  // never shown: what a screen reader is told as a notification
};

}  // namespace platform
