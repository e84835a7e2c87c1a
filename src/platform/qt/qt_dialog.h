#pragma once
// The dialog facility on Qt Widgets: a QDialog built from a dialog template.
#include <QFont>
#include <QRect>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/platform.h"

class QDialog;
class QListView;
class QStringListModel;
class QWidget;

namespace qtv {

// A font's dialog base units in pixels: a horizontal dialog unit is a quarter of the average
// character width, a vertical one an eighth of the character height.
struct DialogBaseUnits {
  int charWidth;
  int charHeight;
  QRect toPixels(int x, int y, int width, int height) const;
};
DialogBaseUnits dialogBaseUnits(const QFont& font);

// The template's font, or the closest sans-serif the system has, at the template's size.
QFont dialogFont(const DialogTemplate& dialogTemplate);

// Needs a QApplication; open() fails without one.
class QtDialog final : public DialogFacility {
 public:
  QtDialog();
  ~QtDialog() override;

  bool open(const DialogTemplate& dialogTemplate) override;
  void setHandler(int controlId, ControlHandler handler) override;
  void setText(int controlId, std::string_view text) override;
  void setChecked(int controlId, bool checked) override;
  void setEnabled(int controlId, bool enabled) override;
  void setItemCount(int listId, std::int32_t n) override;
  void setItemText(int listId, std::int32_t position, std::string_view text) override;
  int runModal() override;
  void release() override;
  std::string getText(int controlId, std::size_t fieldLength) override;
  bool getChecked(int controlId) override;
  std::int32_t getSelectedItem(int listId, std::int32_t k) override;
  std::string getItemText(int listId, std::int32_t position, std::size_t fieldLength) override;

  // The open dialog and its controls, for tests and screenshots; nullptr when there is none.
  QDialog* window() const { return dialog_.get(); }
  QWidget* control(int controlId) const;
  // The widget of the template's control at `index` (template order).
  QWidget* controlAt(std::size_t index) const;

 private:
  QWidget* createControl(const ControlTemplate& control);
  void userChanged(int controlId);
  QListView* list(int listId) const;
  QStringListModel* listModel(int listId) const;

  struct Control {
    int id;
    QWidget* widget;  // owned by dialog_
  };

  std::unique_ptr<QDialog> dialog_;
  std::vector<Control> controls_;  // template order
  std::unordered_map<int, ControlHandler> handlers_;
  // Set while the program itself changes a list, whose selection signals are then no user
  // change.
  bool fillingList_ = false;
  // Selected rows of each list in ascending order, rebuilt on the first read after the
  // selection changed, so reading k = 1, 2, 3, ... costs constant time per call.
  struct SelectionCache {
    bool valid = false;
    std::vector<std::int32_t> rows;
  };
  std::unordered_map<int, SelectionCache> selections_;
};

}  // namespace qtv
