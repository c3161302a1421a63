#include "platform/qt/scripted_seam.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdio>

namespace qd::qt {

namespace {

QString kindName(SeamCall::Kind kind)
{
    switch (kind) {
    case SeamCall::Kind::Message: return QStringLiteral("message box");
    case SeamCall::Kind::Beep: return QStringLiteral("beep");
    case SeamCall::Kind::Input: return QStringLiteral("input box");
    case SeamCall::Kind::Open: return QStringLiteral("open dialog");
    case SeamCall::Kind::Save: return QStringLiteral("save dialog");
    case SeamCall::Kind::Process: return QStringLiteral("program start");
    }
    return {};
}

bool answerFits(Buttons buttons, int code)
{
    switch (buttons) {
    case Buttons::Ok: return code == Answer::Ok;
    case Buttons::OkCancel: return code == Answer::Ok || code == Answer::Cancel;
    case Buttons::YesNo: return code == Answer::Yes || code == Answer::No;
    }
    return false;
}

QString titleOf(const QString &fileName)
{
    const qsizetype cut = std::max(fileName.lastIndexOf(u'/'), fileName.lastIndexOf(u'\\'));
    return fileName.mid(cut + 1);
}

} // namespace

ScriptedSeam::ScriptedSeam() = default;

ScriptedSeam &ScriptedSeam::answerMessage(int code, std::function<void(const MessageRequest &)> check)
{
    Step s(SeamCall::Kind::Message);
    s.code = code;
    s.checkMessage = std::move(check);
    m_script.push_back(std::move(s));
    return *this;
}

ScriptedSeam &ScriptedSeam::answerInput(const QString &text,
                                        std::function<void(const InputRequest &)> check)
{
    Step s(SeamCall::Kind::Input);
    s.text = text;
    s.checkInput = std::move(check);
    m_script.push_back(std::move(s));
    return *this;
}

ScriptedSeam &ScriptedSeam::answerOpen(const QString &fileName,
                                       std::function<void(const FileDialogRequest &)> check)
{
    Step s(SeamCall::Kind::Open);
    s.text = fileName;
    s.checkFile = std::move(check);
    m_script.push_back(std::move(s));
    return *this;
}

ScriptedSeam &ScriptedSeam::answerSave(const QString &fileName,
                                       std::function<void(const FileDialogRequest &)> check)
{
    Step s(SeamCall::Kind::Save);
    s.text = fileName;
    s.checkFile = std::move(check);
    m_script.push_back(std::move(s));
    return *this;
}

ScriptedSeam &ScriptedSeam::cancelOpen()
{
    Step s(SeamCall::Kind::Open);
    s.cancelled = true;
    m_script.push_back(std::move(s));
    return *this;
}

ScriptedSeam &ScriptedSeam::cancelSave()
{
    Step s(SeamCall::Kind::Save);
    s.cancelled = true;
    m_script.push_back(std::move(s));
    return *this;
}

std::vector<SeamCall> ScriptedSeam::callsOf(SeamCall::Kind kind) const
{
    std::vector<SeamCall> out;
    for (const SeamCall &c : m_calls)
        if (c.kind == kind)
            out.push_back(c);
    return out;
}

QStringList ScriptedSeam::messages() const
{
    QStringList out;
    for (const SeamCall &c : m_calls)
        if (c.kind == SeamCall::Kind::Message)
            out << c.message.text;
    return out;
}

int ScriptedSeam::beepCount() const
{
    return static_cast<int>(callsOf(SeamCall::Kind::Beep).size());
}

QString ScriptedSeam::problems() const
{
    QStringList out = m_errors;
    for (const Step &s : m_script)
        out << QStringLiteral("scripted %1 never came").arg(kindName(s.kind));
    return out.join(u'\n');
}

void ScriptedSeam::clearCalls()
{
    m_calls.clear();
    m_doEvents = 0;
}

void ScriptedSeam::fail(const QString &why)
{
    m_errors << why;
    std::fprintf(stderr, "ScriptedSeam: %s\n", why.toLocal8Bit().constData());
    throw ScriptError(why.toStdString());
}

ScriptedSeam::Step ScriptedSeam::take(SeamCall::Kind kind, const QString &what)
{
    if (m_script.empty())
        fail(QStringLiteral("unexpected %1: %2").arg(kindName(kind), what));
    if (m_script.front().kind != kind)
        fail(QStringLiteral("unexpected %1 (the script expects: %2): %3")
                 .arg(kindName(kind), kindName(m_script.front().kind), what));
    Step s = std::move(m_script.front());
    m_script.pop_front();
    return s;
}

int ScriptedSeam::messageBox(const MessageRequest &request)
{
    SeamCall call;
    call.kind = SeamCall::Kind::Message;
    call.message = request;
    m_calls.push_back(call);
    Step s = take(SeamCall::Kind::Message, request.text);
    if (!answerFits(request.buttons, s.code))
        fail(QStringLiteral("answer %1 cannot be given to the message box: %2")
                 .arg(s.code)
                 .arg(request.text));
    if (s.checkMessage)
        s.checkMessage(request);
    m_calls.back().answer = s.code;
    return s.code;
}

void ScriptedSeam::beep()
{
    SeamCall call;
    call.kind = SeamCall::Kind::Beep;
    m_calls.push_back(call);
}

QString ScriptedSeam::inputBox(const InputRequest &request)
{
    SeamCall call;
    call.kind = SeamCall::Kind::Input;
    call.input = request;
    m_calls.push_back(call);
    Step s = take(SeamCall::Kind::Input, request.prompt);
    if (s.checkInput)
        s.checkInput(request);
    m_calls.back().answerText = s.text;
    return s.text;
}

FileDialogResult ScriptedSeam::fileDialog(SeamCall::Kind kind, const FileDialogRequest &request)
{
    SeamCall call;
    call.kind = kind;
    call.file = request;
    m_calls.push_back(call);
    Step s = take(kind, request.initDir);
    if (s.checkFile)
        s.checkFile(request);
    FileDialogResult result;
    if (!s.cancelled) {
        result.cancelled = false;
        result.fileName = s.text;
        result.fileTitle = titleOf(s.text);
        m_calls.back().answerText = s.text;
    }
    return result;
}

FileDialogResult ScriptedSeam::showOpen(const FileDialogRequest &request)
{
    return fileDialog(SeamCall::Kind::Open, request);
}

FileDialogResult ScriptedSeam::showSave(const FileDialogRequest &request)
{
    return fileDialog(SeamCall::Kind::Save, request);
}

bool ScriptedSeam::startProcess(const ProcessRequest &request)
{
    SeamCall call;
    call.kind = SeamCall::Kind::Process;
    call.process = request;
    call.answer = m_processResult ? 1 : 0;
    m_calls.push_back(call);
    return m_processResult;
}

void ScriptedSeam::doEvents()
{
    ++m_doEvents;
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}

} // namespace qd::qt
