#include "RecordingPresenter.h"

void RecordingPresenter::ShowMessage(const std::string& text, MessageIcon icon)
{
    Messages.push_back({text, icon});
}

SaveChoice RecordingPresenter::AskSaveChanges(const std::string& text)
{
    Questions.push_back(text);
    if (Answers.empty())
        return SaveChoice::Cancel;
    const SaveChoice answer = Answers.front();
    Answers.erase(Answers.begin());
    return answer;
}
