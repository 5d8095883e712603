#include "runtime/msgbox.h"

#include "runtime/qt/native.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace tovrik {

void rtcMsgBox(const Form &owner, std::string_view prompt)
{
    QMessageBox box(QMessageBox::NoIcon, QCoreApplication::applicationName(),
                    QString::fromUtf8(prompt.data(), qsizetype(prompt.size())), QMessageBox::Ok,
                    nativeWindow(owner));
    box.exec();
}

} // namespace tovrik
