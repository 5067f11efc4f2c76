#include "playback/TFormWMP.h"

TFormWMP::TFormWMP()
{
    setObjectName(QStringLiteral("FormWMP"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    resize(705, 457);
    setAccessibleName(QStringLiteral("Видео"));
}
