#include "PromptRecorder.h"

#include "framework/MessageBox.h"

namespace {
PromptRecorder* g_active = nullptr;
PromptRecorder* Active() {
    return g_active;
}
}  // namespace

PromptRecorder::PromptRecorder(std::vector<int> answers, int fallbackAnswer)
    : m_answers(answers.begin(), answers.end()), m_fallback(fallbackAnswer) {
    g_active = this;
    AfxSetMessageBoxHook(&PromptRecorder::Answer);
}

PromptRecorder::~PromptRecorder() {
    AfxSetMessageBoxHook(nullptr);
    g_active = nullptr;
}

std::vector<RecordedPrompt> PromptRecorder::Prompts() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_prompts;
}

int PromptRecorder::Answer(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    PromptRecorder* self = Active();
    std::lock_guard<std::mutex> guard(self->m_lock);
    self->m_prompts.push_back({owner, text ? text : "", caption ? caption : "", type, GetCurrentThreadId()});
    if (self->m_answers.empty()) return self->m_fallback;
    int answer = self->m_answers.front();
    self->m_answers.pop_front();
    return answer;
}
