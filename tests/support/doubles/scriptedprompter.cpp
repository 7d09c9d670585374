#include "support/doubles/scriptedprompter.h"

#include <gtest/gtest.h>

namespace ui {

namespace {
QString kindName(ScriptedPrompter::Kind k)
{
    switch (k) {
    case ScriptedPrompter::Kind::Message: return QStringLiteral("message");
    case ScriptedPrompter::Kind::Question: return QStringLiteral("question");
    case ScriptedPrompter::Kind::Input: return QStringLiteral("input box");
    case ScriptedPrompter::Kind::Chooser: return QStringLiteral("folder or file chooser");
    }
    return {};
}
} // namespace

ScriptedPrompter::~ScriptedPrompter()
{
    if (!m_queue.empty())
        ADD_FAILURE() << m_queue.size() << " scripted answer(s) never asked for; the first is for a "
                      << kindName(m_queue.front().kind).toStdString();
}

ScriptedPrompter &ScriptedPrompter::expectMessage()
{
    m_queue.push_back({Kind::Message, false, std::nullopt});
    return *this;
}

ScriptedPrompter &ScriptedPrompter::answerYes()
{
    m_queue.push_back({Kind::Question, true, std::nullopt});
    return *this;
}

ScriptedPrompter &ScriptedPrompter::answerNo()
{
    m_queue.push_back({Kind::Question, false, std::nullopt});
    return *this;
}

ScriptedPrompter &ScriptedPrompter::answerInput(const QString &text)
{
    m_queue.push_back({Kind::Input, false, text});
    return *this;
}

ScriptedPrompter &ScriptedPrompter::answerCancel()
{
    m_queue.push_back({Kind::Input, false, std::nullopt});
    return *this;
}

ScriptedPrompter &ScriptedPrompter::answerChoice(std::optional<QString> path)
{
    m_queue.push_back({Kind::Chooser, false, std::move(path)});
    return *this;
}

ScriptedPrompter &ScriptedPrompter::onNext(std::function<void(const Prompt &)> fn)
{
    m_hook = std::move(fn);
    return *this;
}

ScriptedPrompter::Answer ScriptedPrompter::take(const Prompt &p)
{
    m_transcript.push_back(p);
    if (m_hook) {
        auto hook = std::move(m_hook);
        m_hook = nullptr;
        hook(p);
    }
    if (m_queue.empty()) {
        m_failures << QStringLiteral("unexpected %1: \"%2\" (%3)").arg(kindName(p.kind), p.text, p.title);
        ADD_FAILURE() << m_failures.back().toStdString();
        return {p.kind, false, std::nullopt};
    }
    Answer a = m_queue.front();
    m_queue.pop_front();
    if (a.kind != p.kind) {
        m_failures << QStringLiteral("expected a %1 but got a %2: \"%3\"")
                          .arg(kindName(a.kind), kindName(p.kind), p.text);
        ADD_FAILURE() << m_failures.back().toStdString();
    }
    return a;
}

void ScriptedPrompter::message(const QString &text, const QString &title, Icon icon)
{
    take({Kind::Message, text, title, icon, false, {}, {}});
}

bool ScriptedPrompter::ask(const QString &text, const QString &title, Icon icon, bool defaultNo)
{
    return take({Kind::Question, text, title, icon, defaultNo, {}, {}}).yes;
}

bool ScriptedPrompter::askWithDetails(const QString &text, const QString &title, const QString &details, Icon icon,
                                      bool defaultNo)
{
    return take({Kind::Question, text, title, icon, defaultNo, {}, details}).yes;
}

std::optional<QString> ScriptedPrompter::input(const QString &prompt, const QString &title,
                                               const QString &defaultText)
{
    return take({Kind::Input, prompt, title, Icon::None, false, defaultText, {}}).text;
}

std::optional<QString> ScriptedPrompter::chooseFolder(const QString &title, const QString &start)
{
    return take({Kind::Chooser, {}, title, Icon::None, false, start, {}}).text;
}

std::optional<QString> ScriptedPrompter::chooseSaveFile(const QString &title, const QString &suggested,
                                                        const QString &filter)
{
    return take({Kind::Chooser, {}, title, Icon::None, false, suggested, filter}).text;
}

QStringList ScriptedPrompter::texts() const
{
    QStringList out;
    for (const auto &p : m_transcript)
        out << p.text;
    return out;
}

QStringList ScriptedPrompter::titles() const
{
    QStringList out;
    for (const auto &p : m_transcript)
        out << p.title;
    return out;
}

void ScriptedPrompter::clear()
{
    m_queue.clear();
    m_transcript.clear();
    m_failures.clear();
    m_hook = nullptr;
}

} // namespace ui
