#include "platform/qt/qt_message_box.h"

#include <QMessageBox>

namespace qtv {

namespace {

QString boxText(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

MessageBoxAnswer QtMessageBox::show(std::string_view text, std::string_view caption) {
  QMessageBox box(QMessageBox::Critical, boxText(caption), boxText(text),
                  QMessageBox::Retry | QMessageBox::Cancel);
  box.setDefaultButton(QMessageBox::Retry);
  box.setEscapeButton(QMessageBox::Cancel);
  box.exec();
  // Only Cancel is told apart; any other way out counts as Retry.
  return box.clickedButton() == box.button(QMessageBox::Cancel) ? MessageBoxAnswer::Cancel
                                                                 : MessageBoxAnswer::Retry;
}

}  // namespace qtv
