#include "DialogDriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListView>
#include <QTest>

#include "app/dialogs/DialogFace.h"

namespace vorel {

DialogDriver::DialogDriver(QObject* parent) : QObject(parent) {
  timer_.setInterval(15);
  connect(&timer_, &QTimer::timeout, this, &DialogDriver::Poll);
  timer_.start();
}

void DialogDriver::Expect(const QString& className, Answer answer) {
  answers_.emplace_back(className, std::move(answer));
}

void DialogDriver::Poll() {
  auto* face = qobject_cast<DialogFace*>(QApplication::activeModalWidget());
  // Each face is answered once: an outer face that is active again after its
  // nested dialog closed is still running its answer.
  if (face == nullptr || !face->isVisible() || face->property("vorelAnswered").toBool()) return;
  face->setProperty("vorelAnswered", true);
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
  // Runs after this poll returned: an answer that opens a nested dialog
  // blocks in that dialog's loop, where the poll must go on.
  QTimer::singleShot(0, this, [target, answer] {
    if (target) answer(*target);
  });
}

void DialogDriver::Type(DialogFace& face, int id, const QString& text) {
  if (auto* edit = qobject_cast<QLineEdit*>(face.control(id))) edit->setText(text);
}

void DialogDriver::Click(DialogFace& face, int id) {
  if (auto* button = qobject_cast<QAbstractButton*>(face.control(id))) button->click();
}

void DialogDriver::SelectRows(DialogFace& face, int listId, const QList<int>& rows) {
  QListView* list = face.listView(listId);
  if (list == nullptr) return;
  list->selectionModel()->clearSelection();
  for (int row : rows) {
    list->selectionModel()->select(list->model()->index(row, 0), QItemSelectionModel::Select);
  }
}

void DialogDriver::DoubleClickRow(DialogFace& face, int listId, int row) {
  QListView* list = face.listView(listId);
  if (list == nullptr) return;
  const QModelIndex index = list->model()->index(row, 0);
  list->scrollTo(index);
  const QPoint centre = list->visualRect(index).center();
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
}

}  // namespace vorel
