// Answers every message box through the framework's seam while alive, and records what was asked.
#pragma once
#include <windows.h>

#include <deque>
#include <mutex>
#include <string>
#include <vector>

struct RecordedPrompt {
    HWND owner;
    std::string text;
    std::string caption;
    UINT type;
    DWORD threadId;
};

class PromptRecorder {
public:
    // Answers are used in order; when they run out, every further prompt gets fallbackAnswer.
    explicit PromptRecorder(std::vector<int> answers = {}, int fallbackAnswer = IDOK);
    ~PromptRecorder();
    PromptRecorder(const PromptRecorder&) = delete;
    PromptRecorder& operator=(const PromptRecorder&) = delete;

    std::vector<RecordedPrompt> Prompts() const;

private:
    static int Answer(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
    mutable std::mutex m_lock;
    std::deque<int> m_answers;
    int m_fallback;
    std::vector<RecordedPrompt> m_prompts;
};
