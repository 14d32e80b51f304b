#include "app/dialogs/DialogFace.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QItemSelection>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QStringListModel>
#include <QVBoxLayout>
#include <algorithm>

namespace vorel {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

std::string S(const QString& s) { return s.toStdString(); }

void SetMinimumChars(QWidget* widget, int chars) {
  if (chars > 0) widget->setMinimumWidth(widget->fontMetrics().averageCharWidth() * chars);
}

}  // namespace

DialogFace::DialogFace(const FaceDescription& description, QWidget* parent) : QDialog(parent) {
  setWindowTitle(Q(description.title));
  setObjectName(Q(description.className));
  Build(description);
}

DialogFace::~DialogFace() = default;

QGridLayout* DialogFace::GridOf(const std::string& group) {
  auto it = grids_.find(group);
  // A control naming a group box not (yet) described lands in the dialog itself.
  return it != grids_.end() ? it->second : grids_.at("");
}

void DialogFace::Register(int id, QWidget* widget) {
  if (id == kNoId) return;
  widget->setObjectName(QString::number(id));
  widgets_[id] = widget;
}

void DialogFace::Build(const FaceDescription& description) {
  auto* outer = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  outer->addLayout(grid);
  grids_[""] = grid;
  auto* bar = new QHBoxLayout;
  bar->addStretch(1);
  bool barUsed = false;

  std::vector<QWidget*> tabOrder;
  const ControlDescription* previous = nullptr;
  int radioGroupId = kNoId;

  for (const ControlDescription& c : description.controls) {
    QGridLayout* place = GridOf(c.group);
    auto put = [&](QWidget* w, int column) {
      if (c.row == kButtonBar) {
        bar->addWidget(w);
        barUsed = true;
      } else {
        place->addWidget(w, c.row, column, c.rowSpan, c.columnSpan);
      }
    };
    // An edit or a combo: its label, then the field one column further.
    auto putField = [&](QWidget* field) {
      if (c.caption.empty()) {
        put(field, c.column);
        return;
      }
      auto* label = new QLabel(Q(c.caption), this);
      label->setBuddy(field);
      labels_[c.id] = label;
      place->addWidget(label, c.row, c.column);
      place->addWidget(field, c.row, c.column + 1, c.rowSpan, c.columnSpan);
    };

    switch (c.kind) {
      case ControlKind::Button:
      case ControlKind::DefaultButton: {
        auto* button = new QPushButton(Q(c.caption), this);
        button->setDefault(c.kind == ControlKind::DefaultButton);
        Register(c.id, button);
        const int id = c.id;
        connect(button, &QPushButton::clicked, this, [this, id] { Clicked(id); });
        put(button, c.column);
        tabOrder.push_back(button);
        break;
      }
      case ControlKind::Check: {
        auto* box = new QCheckBox(Q(c.caption), this);
        Register(c.id, box);
        const int id = c.id;
        connect(box, &QCheckBox::clicked, this, [this, id] { Clicked(id); });
        put(box, c.column);
        tabOrder.push_back(box);
        break;
      }
      case ControlKind::Radio: {
        auto* radio = new QRadioButton(Q(c.caption), this);
        Register(c.id, radio);
        const bool continues = previous != nullptr && previous->kind == ControlKind::Radio &&
                               previous->group == c.group && radioGroupId != kNoId;
        if (!continues) {
          radioGroupId = c.id;
          RadioGroup& g = radioGroups_[c.id];
          g.group = new QButtonGroup(this);
        }
        RadioGroup& g = radioGroups_[radioGroupId];
        g.group->addButton(radio, static_cast<int>(g.buttons.size()));
        g.buttons.push_back(radio);
        const int id = c.id;
        connect(radio, &QRadioButton::clicked, this, [this, id] { Clicked(id); });
        put(radio, c.column);
        tabOrder.push_back(radio);
        break;
      }
      case ControlKind::Edit:
      case ControlKind::ReadOnlyEdit: {
        auto* edit = new QLineEdit(this);
        edit->setReadOnly(c.kind == ControlKind::ReadOnlyEdit);
        SetMinimumChars(edit, c.chars);
        Register(c.id, edit);
        putField(edit);
        tabOrder.push_back(edit);
        break;
      }
      case ControlKind::Static:
      case ControlKind::Label: {
        auto* label = new QLabel(this);
        label->setTextFormat(Qt::PlainText);
        label->setText(Q(c.caption));
        if (c.lines > 0) {
          label->setWordWrap(true);
          label->setMinimumHeight(label->fontMetrics().lineSpacing() * c.lines);
        }
        SetMinimumChars(label, c.chars);
        Register(c.id, label);
        put(label, c.column);
        break;
      }
      case ControlKind::Combo: {
        auto* combo = new QComboBox(this);
        SetMinimumChars(combo, c.chars);
        Register(c.id, combo);
        putField(combo);
        tabOrder.push_back(combo);
        break;
      }
      case ControlKind::List:
      case ControlKind::ListExtended: {
        auto* view = new QListView(this);
        auto* model = new QStringListModel(view);
        view->setModel(model);
        view->setUniformItemSizes(true);  // long lists lay out at once
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        view->setSelectionMode(c.kind == ControlKind::List ? QAbstractItemView::SingleSelection
                                                           : QAbstractItemView::ExtendedSelection);
        SetMinimumChars(view, c.chars);
        if (c.lines > 0) {
          // That many lines to start with, and whatever the dialog gives it beyond.
          view->setMinimumHeight(view->fontMetrics().lineSpacing() * c.lines +
                                 2 * view->frameWidth());
          view->setSizePolicy(view->sizePolicy().horizontalPolicy(), QSizePolicy::Ignored);
        }
        Register(c.id, view);
        const int id = c.id;
        connect(view, &QListView::doubleClicked, this,
                [this, id](const QModelIndex& index) { DoubleClicked(id, index.row()); });
        if (c.caption.empty()) {
          put(view, c.column);
        } else {
          auto* column = new QVBoxLayout;
          auto* label = new QLabel(Q(c.caption), this);
          label->setBuddy(view);
          labels_[c.id] = label;
          column->addWidget(label);
          column->addWidget(view, 1);
          place->addLayout(column, c.row, c.column, c.rowSpan, c.columnSpan);
        }
        tabOrder.push_back(view);
        break;
      }
      case ControlKind::Group: {
        auto* box = new QGroupBox(Q(c.caption), this);
        auto* inner = new QGridLayout(box);
        grids_[c.caption] = inner;
        put(box, c.column);
        break;
      }
    }
    previous = &c;
    if (c.kind != ControlKind::Radio) radioGroupId = kNoId;
  }

  // Group boxes keep their controls together at the top when they grow.
  for (auto& [title, inner] : grids_) {
    if (!title.empty()) inner->setRowStretch(inner->rowCount(), 1);
  }
  if (barUsed) outer->addLayout(bar);
  for (size_t i = 1; i < tabOrder.size(); ++i) setTabOrder(tabOrder[i - 1], tabOrder[i]);
}

QWidget* DialogFace::control(int id) const {
  auto it = widgets_.find(id);
  return it == widgets_.end() ? nullptr : it->second;
}

QLabel* DialogFace::labelOf(int id) const {
  auto it = labels_.find(id);
  return it == labels_.end() ? nullptr : it->second;
}

QListView* DialogFace::listView(int id) const { return qobject_cast<QListView*>(control(id)); }

QStringListModel* DialogFace::ModelOf(int id) const {
  QListView* view = listView(id);
  return view == nullptr ? nullptr : qobject_cast<QStringListModel*>(view->model());
}

std::string DialogFace::Text(int id) const {
  if (id == 0) return S(windowTitle());
  QWidget* w = control(id);
  if (auto* edit = qobject_cast<QLineEdit*>(w)) return S(edit->text());
  if (auto* label = qobject_cast<QLabel*>(w)) return S(label->text());
  if (auto* button = qobject_cast<QAbstractButton*>(w)) return S(button->text());
  if (auto* combo = qobject_cast<QComboBox*>(w)) return S(combo->currentText());
  return {};
}

void DialogFace::SetText(int id, const std::string& text) {
  if (id == 0) {
    setWindowTitle(Q(text));
    return;
  }
  QWidget* w = control(id);
  if (auto* edit = qobject_cast<QLineEdit*>(w)) {
    edit->setText(Q(text));
    edit->setCursorPosition(0);
  } else if (auto* label = qobject_cast<QLabel*>(w)) {
    label->setText(Q(text));
  } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
    button->setText(Q(text));
  }
}

int DialogFace::State(int id) const {
  if (auto it = radioGroups_.find(id); it != radioGroups_.end()) {
    const auto& buttons = it->second.buttons;
    for (size_t i = 0; i < buttons.size(); ++i) {
      if (buttons[i]->isChecked()) return static_cast<int>(i);
    }
    return -1;
  }
  QWidget* w = control(id);
  if (auto* combo = qobject_cast<QComboBox*>(w)) return combo->currentIndex();
  if (auto* button = qobject_cast<QAbstractButton*>(w)) return button->isChecked() ? 1 : 0;
  return -1;
}

void DialogFace::SetState(int id, int state) {
  if (auto it = radioGroups_.find(id); it != radioGroups_.end()) {
    RadioGroup& g = it->second;
    if (state >= 0 && state < static_cast<int>(g.buttons.size())) {
      g.buttons[state]->setChecked(true);
    } else {
      // No button chosen: an exclusive group cannot uncheck its last button.
      g.group->setExclusive(false);
      for (QAbstractButton* b : g.buttons) b->setChecked(false);
      g.group->setExclusive(true);
    }
    return;
  }
  QWidget* w = control(id);
  if (auto* combo = qobject_cast<QComboBox*>(w)) {
    combo->setCurrentIndex(state >= 0 && state < combo->count() ? state : -1);
  } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
    button->setChecked(state == 1);
  }
}

std::vector<std::string> DialogFace::Lines(int id) const {
  std::vector<std::string> lines;
  if (QStringListModel* model = ModelOf(id)) {
    const QStringList list = model->stringList();
    lines.reserve(list.size());
    for (const QString& line : list) lines.push_back(S(line));
  } else if (auto* combo = qobject_cast<QComboBox*>(control(id))) {
    for (int i = 0; i < combo->count(); ++i) lines.push_back(S(combo->itemText(i)));
  }
  return lines;
}

void DialogFace::SetLines(int id, const std::vector<std::string>& lines) {
  QStringList list;
  list.reserve(static_cast<qsizetype>(lines.size()));
  for (const std::string& line : lines) list.push_back(Q(line));
  if (QStringListModel* model = ModelOf(id)) {
    model->setStringList(list);
    listView(id)->selectionModel()->clear();
  } else if (auto* combo = qobject_cast<QComboBox*>(control(id))) {
    combo->clear();
    combo->addItems(list);
    combo->setCurrentIndex(-1);
  }
}

std::vector<int> DialogFace::Selection(int id) const {
  std::vector<int> rows;
  QListView* view = listView(id);
  if (view == nullptr) return rows;
  // From the ranges: asking row by row costs the product of rows and ranges.
  for (const QItemSelectionRange& range : view->selectionModel()->selection()) {
    for (int row = range.top(); row <= range.bottom(); ++row) rows.push_back(row);
  }
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  return rows;
}

void DialogFace::SetSelection(int id, const std::vector<int>& rows) {
  QListView* view = listView(id);
  if (view == nullptr) return;
  QAbstractItemModel* model = view->model();
  const int count = model->rowCount();
  std::vector<int> kept;
  for (int row : rows) {
    if (row >= 0 && row < count) kept.push_back(row);
  }
  std::sort(kept.begin(), kept.end());
  kept.erase(std::unique(kept.begin(), kept.end()), kept.end());
  if (view->selectionMode() == QAbstractItemView::SingleSelection && kept.size() > 1) {
    kept.erase(kept.begin() + 1, kept.end());
  }

  // Neighbouring rows as one range each, so that a long selection stays cheap.
  QItemSelection selection;
  for (size_t i = 0; i < kept.size();) {
    size_t j = i;
    while (j + 1 < kept.size() && kept[j + 1] == kept[j] + 1) ++j;
    selection.select(model->index(kept[i], 0), model->index(kept[j], 0));
    i = j + 1;
  }
  QItemSelectionModel* selectionModel = view->selectionModel();
  selectionModel->select(selection, QItemSelectionModel::ClearAndSelect);
  if (!kept.empty()) {
    const QModelIndex first = model->index(kept.front(), 0);
    selectionModel->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
    view->scrollTo(first);
  }
}

bool DialogFace::Enabled(int id) const {
  QWidget* w = control(id);
  return w == nullptr || w->isEnabledTo(const_cast<DialogFace*>(this));
}

void DialogFace::SetEnabled(int id, bool enabled) {
  if (QWidget* w = control(id)) w->setEnabled(enabled);
  if (QLabel* label = labelOf(id)) label->setEnabled(enabled);
}

bool DialogFace::ReadOnly(int id) const {
  auto* edit = qobject_cast<QLineEdit*>(control(id));
  return edit != nullptr && edit->isReadOnly();
}

void DialogFace::SetReadOnly(int id, bool readOnly) {
  if (auto* edit = qobject_cast<QLineEdit*>(control(id))) edit->setReadOnly(readOnly);
}

void DialogFace::reject() {
  // Escape and the title bar's close are the Cancel button's: the logic decides.
  const QPointer<DialogFace> self(this);
  emit commandClicked(kIdCancel);
  if (self) AfterHandlers();
}

void DialogFace::Clicked(int id) {
  const QPointer<DialogFace> self(this);
  emit commandClicked(id);
  if (self) AfterHandlers();
}

void DialogFace::DoubleClicked(int listId, int row) {
  QListView* view = listView(listId);
  const QModelIndex index = view->model()->index(row, 0);
  if (!view->selectionModel()->isSelected(index)) {
    const bool single = view->selectionMode() == QAbstractItemView::SingleSelection;
    view->selectionModel()->select(
        index, (single ? QItemSelectionModel::ClearAndSelect : QItemSelectionModel::Select) |
                   QItemSelectionModel::Rows);
  }
  const QPointer<DialogFace> self(this);
  emit listDoubleClicked(listId);
  if (self) AfterHandlers();
}

bool DialogFace::event(QEvent* e) {
  const bool handled = QDialog::event(e);
  if (e->type() == QEvent::WindowActivate || e->type() == QEvent::WindowDeactivate) {
    const QPointer<DialogFace> self(this);
    emit activationChanged(e->type() == QEvent::WindowActivate);
    if (self) AfterHandlers();
  }
  return handled;
}

void DialogFace::AfterHandlers() {
  if (afterHandlers_) afterHandlers_();
}

}  // namespace vorel
