#pragma once

#include "ui/core/prompter.h"

#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

namespace ui {

// A prompter that answers from a queue and records every prompt, for tests.
// An unexpected prompt (nothing queued) or a prompt of the wrong kind fails
// the running test at once, and answers still queued when the prompter goes
// (at the test's teardown) fail it too: a test cannot pass over a prompt it
// did not script.
class ScriptedPrompter : public Prompter {
public:
    ScriptedPrompter() = default;
    ~ScriptedPrompter() override;
    ScriptedPrompter(const ScriptedPrompter &) = delete;
    ScriptedPrompter &operator=(const ScriptedPrompter &) = delete;

    enum class Kind { Message, Question, Input, Chooser };

    struct Prompt {
        Kind kind;
        QString text;
        QString title;
        Icon icon = Icon::None;
        bool defaultNo = false;
        QString defaultText;  // an input box's text; a chooser's start or suggested file
        QString details;      // the detailed text of a question that has one; a file chooser's filter
    };

    // Queue the answer to the next prompt.
    ScriptedPrompter &expectMessage();
    ScriptedPrompter &answerYes();
    ScriptedPrompter &answerNo();
    ScriptedPrompter &answerInput(const QString &text);
    ScriptedPrompter &answerCancel();
    // A folder or file chooser's answer; nullopt: the user cancelled it.
    ScriptedPrompter &answerChoice(std::optional<QString> path);
    // Run a callback when the next prompt arrives (for example to check state
    // while a message is on screen); it answers like the entry it stands for.
    ScriptedPrompter &onNext(std::function<void(const Prompt &)> fn);

    void message(const QString &text, const QString &title, Icon icon) override;
    bool ask(const QString &text, const QString &title, Icon icon, bool defaultNo) override;
    bool askWithDetails(const QString &text, const QString &title, const QString &details, Icon icon,
                        bool defaultNo) override;
    std::optional<QString> input(const QString &prompt, const QString &title,
                                 const QString &defaultText) override;
    std::optional<QString> chooseFolder(const QString &title, const QString &start) override;
    std::optional<QString> chooseSaveFile(const QString &title, const QString &suggested,
                                          const QString &filter) override;

    const std::vector<Prompt> &transcript() const { return m_transcript; }
    QStringList texts() const;
    QStringList titles() const;
    const Prompt &last() const { return m_transcript.back(); }
    QStringList failures() const { return m_failures; }
    bool allAnswered() const { return m_queue.empty(); }
    void clear();

private:
    struct Answer {
        Kind kind;
        bool yes = false;
        std::optional<QString> text;
    };
    Answer take(const Prompt &p);

    std::deque<Answer> m_queue;
    std::function<void(const Prompt &)> m_hook;
    std::vector<Prompt> m_transcript;
    QStringList m_failures;
};

} // namespace ui
