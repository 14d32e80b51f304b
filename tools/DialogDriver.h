#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <deque>
#include <functional>

namespace vorel {

class DialogFace;

// Answers the program's modal dialogs as a user would, through their widgets:
// whenever a new dialog face is the active modal window, the next queued
// answer runs on it (after the event that opened it has returned, so that an
// answer may open a nested dialog). A face without an answer, or of another
// class than expected, is cancelled and the fault recorded.
class DialogDriver : public QObject {
  Q_OBJECT
 public:
  using Answer = std::function<void(DialogFace&)>;

  explicit DialogDriver(QObject* parent = nullptr);

  // Queues the answer of the next dialog, whose class must be className.
  void Expect(const QString& className, Answer answer);
  bool idle() const { return answers_.empty(); }

  // The classes of the dialogs answered, in order, and what went wrong.
  QStringList seen;
  QStringList faults;

  // What a user does with a control, found by its identifier.
  static void Type(DialogFace& face, int id, const QString& text);
  static void Click(DialogFace& face, int id);
  static void SelectRows(DialogFace& face, int listId, const QList<int>& rows);
  static void DoubleClickRow(DialogFace& face, int listId, int row);

 private:
  void Poll();

  QTimer timer_;
  std::deque<std::pair<QString, Answer>> answers_;
};

}  // namespace vorel
