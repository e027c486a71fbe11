#include "app/AppIdentity.h"

#include <QGuiApplication>

QString AppIdentity::Version()
{
    return QStringLiteral(PORTICO_VERSION);
}

QString AppIdentity::ApplicationId()
{
    return QStringLiteral(PORTICO_APP_ID);
}

void AppIdentity::Apply()
{
    QCoreApplication::setApplicationVersion(Version());
    QGuiApplication::setDesktopFileName(ApplicationId());
}
