#include "runtime/msgbox.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace tovrik {

void rtcMsgBox(QWidget *parent, const QString &prompt)
{
    QMessageBox box(QMessageBox::NoIcon, QCoreApplication::applicationName(), prompt,
                    QMessageBox::Ok, parent);
    box.exec();
}

} // namespace tovrik
