#include "app/StartUp.h"
#include "reports/ui/RegisterReportWindows.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication qt(argc, argv);
    registerReportWindows();
    return runProgram();
}
