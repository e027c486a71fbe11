#include "RecordingPresenter.h"

void RecordingPresenter::ShowMessage(const std::string& text, MessageIcon icon)
{
    Messages.push_back({text, icon});
}
