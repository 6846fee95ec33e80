#include "support/Desktop.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <QWidget>
#include <QWindow>

namespace {

QString xprop(const QStringList& arguments)
{
    QProcess p;
    p.start(QStringLiteral("xprop"), arguments);
    return p.waitForFinished(5000) ? QString::fromLocal8Bit(p.readAllStandardOutput()) : QString();
}

// The values of one property in xprop's answer ("NAME(TYPE) = a, b"), empty
// when the window has none.
QStringList values(const QString& answer, const char* name)
{
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("^%1\\([A-Z_]+\\) = (.*)$").arg(QLatin1String(name)),
                           QRegularExpression::MultilineOption)
            .match(answer);
    return m.hasMatch() ? m.captured(1).split(QStringLiteral(", ")) : QStringList();
}

QString waysWith(const QWidget& window)
{
    if (WindowManager().isEmpty()) return QString();
    const QStringList properties = {QStringLiteral("-id"), QString::number(window.winId()),
                                    QStringLiteral("_NET_FRAME_EXTENTS"), QStringLiteral("_NET_WM_ALLOWED_ACTIONS"),
                                    QStringLiteral("_NET_WM_STATE")};
    // The window manager announces what it allows once it has taken the
    // window, and the frame once it has framed it.
    QString answer;
    QElapsedTimer t;
    t.start();
    do {
        QTest::qWait(20);
        answer = xprop(properties);
    } while ((values(answer, "_NET_WM_ALLOWED_ACTIONS").isEmpty() || values(answer, "_NET_FRAME_EXTENTS").isEmpty()) &&
             t.elapsed() < 5000);
    const QStringList frame = values(answer, "_NET_FRAME_EXTENTS");
    const QStringList actions = values(answer, "_NET_WM_ALLOWED_ACTIONS");
    QStringList ways;
    if (frame.size() == 4 && frame[2].toInt() > 0) ways << "framed";
    if (actions.contains("_NET_WM_ACTION_MOVE")) ways << "move";
    if (actions.contains("_NET_WM_ACTION_CLOSE")) ways << "close";
    if (actions.contains("_NET_WM_ACTION_MINIMIZE")) ways << "minimise";
    if (!values(answer, "_NET_WM_STATE").contains("_NET_WM_STATE_SKIP_TASKBAR")) ways << "listed";
    return ways.join(' ');
}

}  // namespace

QString WindowManager()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return QString();
    const QString check = xprop({QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")});
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("# (0x[0-9a-f]+)")).match(check);
    if (!m.hasMatch()) return QString();
    const QString name = xprop({QStringLiteral("-id"), m.captured(1), QStringLiteral("_NET_WM_NAME")});
    const QRegularExpressionMatch n = QRegularExpression(QStringLiteral("= \"(.*)\"")).match(name);
    return n.hasMatch() ? n.captured(1) : QStringLiteral("unnamed");
}

QString Announced(const QWidget& w, const QWidget* owner)
{
    const QWindow* handle = w.windowHandle();
    if (!handle || !QTest::qWaitFor([handle] { return handle->isExposed(); }, 5000)) return QStringLiteral("unshown");
    const Qt::WindowType type = handle->type();
    QString s = type == Qt::Dialog ? "dialog" : type == Qt::Tool ? "tool" : type == Qt::Window ? "window" : "other";
    if (const QWindow* parent = handle->transientParent())
        s += owner && parent == owner->windowHandle() ? " for owner" : " for another";
    const Qt::WindowFlags flags = handle->flags();
    if (flags & Qt::WindowMinimizeButtonHint) s += " minimise";
    if (flags & Qt::WindowMaximizeButtonHint) s += " maximise";
    if (flags & Qt::WindowCloseButtonHint) s += " close";
    QString ways = waysWith(w);
    if (handle->transientParent()) ways.remove(QStringLiteral(" listed"));
    return s + " | " + ways;
}

QString Granted(bool listed)
{
    const QString wm = WindowManager();
    if (wm.isEmpty()) return QString();
    return QStringLiteral("framed move close") + (wm == QLatin1String("Openbox") ? " minimise" : "") +
           (listed ? " listed" : "");
}

void MinimiseFromTheDesktop(const QWidget& window)
{
    QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("windowminimize"), QString::number(window.winId())});
}
