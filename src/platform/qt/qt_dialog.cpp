#include "platform/qt/qt_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QFontMetrics>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QStringListModel>
#include <algorithm>

#include "platform/fixed_text.h"

namespace qtv {

namespace {

// value * unit / divisor, rounded to the nearest pixel.
int scaled(int value, int unit, int divisor) { return (2 * value * unit + divisor) / (2 * divisor); }

// Control texts are single-byte characters.
QString controlText(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string fieldOf(const QString& text, std::size_t fieldLength) {
  return fixedField(text.toLatin1().toStdString(), fieldLength);
}

}  // namespace

QRect DialogBaseUnits::toPixels(int x, int y, int width, int height) const {
  return {scaled(x, charWidth, 4), scaled(y, charHeight, 8), scaled(width, charWidth, 4),
          scaled(height, charHeight, 8)};
}

DialogBaseUnits dialogBaseUnits(const QFont& font) {
  const QFontMetrics metrics(font);
  const int alphabetWidth =
      metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  return {(alphabetWidth + 26) / 52, metrics.height()};
}

QFont dialogFont(const DialogTemplate& dialogTemplate) {
  // Font matching falls back to the nearest sans-serif when the template's font is missing.
  QFont font(controlText(dialogTemplate.fontName), dialogTemplate.fontPointSize);
  font.setStyleHint(QFont::SansSerif);
  return font;
}

QtDialog::QtDialog() = default;

// The handlers go before the widgets whose signals could still reach them.
QtDialog::~QtDialog() { release(); }

bool QtDialog::open(const DialogTemplate& dialogTemplate) {
  release();
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) return false;

  dialog_ = std::make_unique<QDialog>(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  dialog_->setWindowTitle(controlText(dialogTemplate.caption));
  const QFont font = dialogFont(dialogTemplate);
  dialog_->setFont(font);
  const DialogBaseUnits units = dialogBaseUnits(font);
  dialog_->setFixedSize(units.toPixels(0, 0, dialogTemplate.width, dialogTemplate.height).size());

  QWidget* previousTabStop = nullptr;
  for (const ControlTemplate& control : dialogTemplate.controls) {
    QWidget* widget = createControl(control);
    widget->setGeometry(units.toPixels(control.x, control.y, control.width, control.height));
    controls_.push_back({control.id, widget});
    if (widget->focusPolicy() & Qt::TabFocus) {
      if (previousTabStop != nullptr) QWidget::setTabOrder(previousTabStop, widget);
      previousTabStop = widget;
    }
  }
  // A frame stays behind the controls it surrounds, wherever it stands in the template.
  for (const auto& [id, widget] : controls_) {
    if (qobject_cast<QGroupBox*>(widget) != nullptr) widget->lower();
  }
  return true;
}

QWidget* QtDialog::createControl(const ControlTemplate& control) {
  QDialog* dialog = dialog_.get();
  const QString caption = controlText(control.caption);
  const int id = control.id;
  switch (control.kind) {
    case ControlKind::PushButton: {
      auto* button = new QPushButton(caption, dialog);
      button->setDefault(control.defaultButton);
      // The button's id is the result of run modal; Escape and the close box reject (Cancel).
      QObject::connect(button, &QPushButton::clicked, dialog, [dialog, id] { dialog->done(id); });
      return button;
    }
    case ControlKind::StaticText: {
      auto* label = new QLabel(caption, dialog);
      label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      // Only texts meant for two lines wrap: a one-line label a pixel too narrow in this
      // font stays on its line instead of losing its second word below the edge.
      label->setWordWrap(control.wraps);
      if (control.sunkenBorder) label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
      return label;
    }
    case ControlKind::EditBox: {
      auto* edit = new QLineEdit(caption, dialog);
      // textEdited: the user's edits only, not setText.
      QObject::connect(edit, &QLineEdit::textEdited, dialog, [this, id] { userChanged(id); });
      return edit;
    }
    case ControlKind::ListBox: {
      auto* view = new QListView(dialog);
      view->setModel(new QStringListModel(view));
      view->setSelectionMode(QAbstractItemView::MultiSelection);
      view->setEditTriggers(QAbstractItemView::NoEditTriggers);
      view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
      view->setUniformItemSizes(true);
      QObject::connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, dialog, [this, id] {
        selections_[id].valid = false;
        if (!fillingList_) userChanged(id);
      });
      return view;
    }
    case ControlKind::GroupBox:
      return new QGroupBox(caption, dialog);
    case ControlKind::CheckBox: {
      auto* box = new QCheckBox(caption, dialog);
      // clicked: the user's clicks (mouse or space bar) only, not setChecked.
      QObject::connect(box, &QCheckBox::clicked, dialog, [this, id] { userChanged(id); });
      return box;
    }
  }
  return new QWidget(dialog);
}

void QtDialog::userChanged(int controlId) {
  const auto handler = handlers_.find(controlId);
  if (handler != handlers_.end() && handler->second) handler->second(controlId);
}

QWidget* QtDialog::control(int controlId) const {
  if (controlId == kNoControlId) return nullptr;
  const auto found = std::find_if(controls_.begin(), controls_.end(),
                                  [controlId](const Control& control) { return control.id == controlId; });
  return found == controls_.end() ? nullptr : found->widget;
}

QWidget* QtDialog::controlAt(std::size_t index) const {
  return index < controls_.size() ? controls_[index].widget : nullptr;
}

QListView* QtDialog::list(int listId) const { return qobject_cast<QListView*>(control(listId)); }

QStringListModel* QtDialog::listModel(int listId) const {
  const QListView* view = list(listId);
  return view == nullptr ? nullptr : qobject_cast<QStringListModel*>(view->model());
}

void QtDialog::setHandler(int controlId, ControlHandler handler) { handlers_[controlId] = std::move(handler); }

void QtDialog::setText(int controlId, std::string_view text) {
  QString shown = controlText(withoutTrailingBlanks(text));
  QWidget* widget = control(controlId);
  if (auto* label = qobject_cast<QLabel*>(widget)) {
    // A static text separates its lines with a lone CR.
    label->setText(shown.replace(QLatin1Char('\r'), QLatin1Char('\n')));
  } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    edit->setText(shown);
  }
}

void QtDialog::setChecked(int controlId, bool checked) {
  if (auto* box = qobject_cast<QCheckBox*>(control(controlId))) box->setChecked(checked);
}

void QtDialog::setEnabled(int controlId, bool enabled) {
  if (QWidget* widget = control(controlId)) widget->setEnabled(enabled);
}

void QtDialog::setItemCount(int listId, std::int32_t n) {
  QStringListModel* model = listModel(listId);
  if (model == nullptr) return;
  fillingList_ = true;
  // One batch of empty items: a list of many thousand nodes fills at once.
  model->setStringList(QStringList(std::max<std::int32_t>(n, 0)));
  list(listId)->selectionModel()->clearSelection();
  fillingList_ = false;
  selections_[listId].valid = false;
}

void QtDialog::setItemText(int listId, std::int32_t position, std::string_view text) {
  QStringListModel* model = listModel(listId);
  if (model == nullptr || position < 1 || position > model->rowCount()) return;
  fillingList_ = true;
  model->setData(model->index(position - 1), controlText(text));
  fillingList_ = false;
}

int QtDialog::runModal() {
  if (!dialog_) return kDialogFailed;
  const int result = dialog_->exec();
  return result == QDialog::Rejected ? kDialogCancel : result;
}

void QtDialog::release() {
  handlers_.clear();
  dialog_.reset();
  controls_.clear();
  selections_.clear();
}

std::string QtDialog::getText(int controlId, std::size_t fieldLength) {
  const auto* edit = qobject_cast<QLineEdit*>(control(controlId));
  return fieldOf(edit == nullptr ? QString() : edit->text(), fieldLength);
}

bool QtDialog::getChecked(int controlId) {
  const auto* box = qobject_cast<QCheckBox*>(control(controlId));
  return box != nullptr && box->isChecked();
}

std::int32_t QtDialog::getSelectedItem(int listId, std::int32_t k) {
  const QListView* view = list(listId);
  if (view == nullptr || k < 1) return 0;
  SelectionCache& cache = selections_[listId];
  if (!cache.valid) {
    cache.rows.clear();
    for (const QItemSelectionRange& range : view->selectionModel()->selection()) {
      for (int row = range.top(); row <= range.bottom(); ++row) cache.rows.push_back(row + 1);
    }
    std::sort(cache.rows.begin(), cache.rows.end());
    cache.rows.erase(std::unique(cache.rows.begin(), cache.rows.end()), cache.rows.end());
    cache.valid = true;
  }
  return static_cast<std::size_t>(k) <= cache.rows.size() ? cache.rows[static_cast<std::size_t>(k) - 1] : 0;
}

std::string QtDialog::getItemText(int listId, std::int32_t position, std::size_t fieldLength) {
  const QStringListModel* model = listModel(listId);
  if (model == nullptr || position < 1 || position > model->rowCount()) return fixedField("", fieldLength);
  return fieldOf(model->data(model->index(position - 1)).toString(), fieldLength);
}

}  // namespace qtv
