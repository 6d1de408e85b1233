#pragma once

#include <QDialog>
#include <QString>

class QLabel;

namespace velmora::gui {

// The error-message dialog: one line chosen by a message code, of which only
// the low 8 bits count; an unknown code shows an empty line. The text is
// loaded when the dialog is made, so a later language switch does not reach it.
class CErrorMessageDialog : public QDialog {
  Q_OBJECT

 public:
  explicit CErrorMessageDialog(int code, QWidget* parent = nullptr);
  // The same with a second, smaller line that names the path and the reason.
  CErrorMessageDialog(int code, const QString& detail, QWidget* parent = nullptr);
  QString message() const { return message_; }

 private:
  QString message_;
};

// The two-line notice: type 0 saving onto the medium being read, 2 cannot exit
// while a process runs, 3 insert a disc; any other type shows two empty lines.
class CTwoLineInfoDialog : public QDialog {
  Q_OBJECT

 public:
  explicit CTwoLineInfoDialog(int type, QWidget* parent = nullptr);
  QString firstLine() const { return first_; }
  QString secondLine() const { return second_; }

 private:
  QString first_;
  QString second_;
};

// "Stop current process ?" with Yes (the default) and No; Escape answers No.
class CStopConfirmDialog : public QDialog {
  Q_OBJECT

 public:
  explicit CStopConfirmDialog(QWidget* parent = nullptr);
  // True when the user answered Yes.
  static bool Ask(QWidget* parent);
};

// The product title of the string table, trimmed of its trailing blank for a
// window caption.
QString ProductCaption();

}  // namespace velmora::gui
