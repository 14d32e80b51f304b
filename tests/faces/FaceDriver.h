#pragma once
// Answers the program's modal dialogs through their widgets, as a user would:
// real mouse clicks on buttons and list rows, typed text, keys. Whenever a new
// face is the active modal window, the next queued answer runs on it (after the
// event that opened it returned, so that an answer may open a nested dialog).

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QPointer>
#include <QTimer>
#include <QtTest>
#include <deque>
#include <functional>

#include "app/dialogs/DialogFace.h"

namespace vorel::test {

class FaceDriver {
 public:
  using Answer = std::function<void(DialogFace&)>;

  FaceDriver() {
    timer_.setInterval(10);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
    timer_.start();
  }

  void Expect(const QString& className, Answer answer) {
    answers_.emplace_back(className, std::move(answer));
  }
  bool idle() const { return answers_.empty(); }

  QStringList seen;
  QStringList faults;

  // --- what a user does ------------------------------------------------------
  // A click where the button's text begins (a wide check box or radio takes no
  // click at its centre).
  static void Click(DialogFace& face, int id) {
    QWidget* w = face.control(id);
    if (w == nullptr) {
      QFAIL(qPrintable(QStringLiteral("no control %1 in %2").arg(id).arg(face.objectName())));
    }
    QVERIFY2(w->isEnabled(), qPrintable(QStringLiteral("control %1 is disabled").arg(id)));
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(6, w->height() / 2));
  }
  // Replaces the text of an edit box by typing.
  static void Type(DialogFace& face, int id, const QString& text) {
    auto* edit = qobject_cast<QLineEdit*>(face.control(id));
    QVERIFY2(edit != nullptr, qPrintable(QStringLiteral("no edit box %1").arg(id)));
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
  }
  // Clicks a row, then shift-clicks the last: rows first..last selected.
  static void SelectRange(DialogFace& face, int listId, int first, int last) {
    QListView* view = face.listView(listId);
    QVERIFY(view != nullptr);
    ClickRow(view, first, {});
    if (last != first) ClickRow(view, last, Qt::ShiftModifier);
  }
  static void DoubleClickRow(DialogFace& face, int listId, int row) {
    QListView* view = face.listView(listId);
    QVERIFY(view != nullptr);
    const QModelIndex index = view->model()->index(row, 0);
    view->scrollTo(index);
    const QPoint centre = view->visualRect(index).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, centre);
  }

 private:
  static void ClickRow(QListView* view, int row, Qt::KeyboardModifiers modifiers) {
    const QModelIndex index = view->model()->index(row, 0);
    view->scrollTo(index);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, modifiers, view->visualRect(index).center());
  }

  void Poll() {
    auto* face = qobject_cast<DialogFace*>(QApplication::activeModalWidget());
    // Each face is answered once: an outer face active again after its nested
    // dialog closed is still running its answer.
    if (face == nullptr || !face->isVisible() || face->property("answered").toBool()) return;
    face->setProperty("answered", true);
    const QString className = face->objectName();
    Answer answer;
    if (answers_.empty()) {
      faults << QStringLiteral("no answer for ") + className;
    } else if (answers_.front().first != className) {
      faults << QStringLiteral("expected ") + answers_.front().first + QStringLiteral(", got ") +
                    className;
      answers_.pop_front();
    } else {
      answer = std::move(answers_.front().second);
      answers_.pop_front();
      seen << className;
    }
    if (!answer) answer = [](DialogFace& f) { Click(f, 2); };
    QPointer<DialogFace> target(face);
    QTimer::singleShot(0, [target, answer] {
      if (target) answer(*target);
    });
  }

  QTimer timer_;
  std::deque<std::pair<QString, Answer>> answers_;
};

}  // namespace vorel::test
