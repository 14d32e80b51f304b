#pragma once
// Answers the program's modal dialogs through their widgets, strictly as a user
// would: the queue of answers is the program's dialog driver; the actions here
// are real mouse clicks on buttons and list rows, typed text and keys, and a
// missing or disabled control fails the test.

#include <QLineEdit>
#include <QListView>
#include <QtTest>

#include "DialogDriver.h"
#include "app/dialogs/DialogFace.h"

namespace vorel::test {

class FaceDriver : public DialogDriver {
 public:
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
};

}  // namespace vorel::test
