#include "messageboardform.h"

#include <stdexcept>

// Placeholder: replaced by the message board.
TMessageBoardForm* MessageBoardForm = nullptr;
struct TMessageBoardForm::Impl {};
TMessageBoardForm::TMessageBoardForm(QWidget* parent) : QWidget(parent) { MessageBoardForm = this; }
TMessageBoardForm::~TMessageBoardForm() = default;
void TMessageBoardForm::StartRecording(bool, const QString&) { throw std::logic_error("not built yet"); }
void TMessageBoardForm::PostThisMessage(const QString&, const QString&) { throw std::logic_error("not built yet"); }
void TMessageBoardForm::StopRecording() { throw std::logic_error("not built yet"); }
void TMessageBoardForm::ExecuteFile(const QString&) { throw std::logic_error("not built yet"); }
int TMessageBoardForm::rowCount() const { return 0; }
QString TMessageBoardForm::rowKey(int) const { return {}; }
QString TMessageBoardForm::rowValue(int) const { return {}; }
QString TMessageBoardForm::counterText() const { return {}; }
