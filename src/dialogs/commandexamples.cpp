#include "commandexamples.h"

#include <QCoreApplication>
#include <QStandardItemModel>

namespace {

// "%1" in an instruction is one of three translated words.
enum Word { NoWord, ButtonWord, ModuleWord, CloseWord };

struct Row {
    const char *instruction;
    const char *comment;
    Word word;
};

const Row kRows[] = {
    {"BL(20);", QT_TRANSLATE_NOOP("MainWindow", "//调整背光的亮度到20 范围：0为最亮 255为最暗"), NoWord},
    {"BOX(20,20,40,40,1);", QT_TRANSLATE_NOOP("MainWindow", "//以(20,20)和(40,40)为对角画红色矩形框，1为颜色编号"), NoWord},
    {"BOXF(20,20,40,40,1);", QT_TRANSLATE_NOOP("MainWindow", "//以(20,20)和(40,40)为对角画红色实心矩形，1为颜色编号"), NoWord},
    {"BPS(9600);", QT_TRANSLATE_NOOP("MainWindow", "//支持的波特率4：9600"), NoWord},
    {"BPS(19200);", QT_TRANSLATE_NOOP("MainWindow", "//支持的波特率3：19200"), NoWord},
    {"BPS(38400);", QT_TRANSLATE_NOOP("MainWindow", "//支持的波特率2：38400"), NoWord},
    {"BPS(115200);", QT_TRANSLATE_NOOP("MainWindow", "//修改波特率为115200,掉电后自动保存设置,但注意波特率在修改过程中不允许掉电，建议只脱机修改一次"), NoWord},
    {"BTN(80,80,32,16,'%1',1,0,1,4);", QT_TRANSLATE_NOOP("MainWindow", "//在(80,80)显示按下效果的按钮，红色文字，黄色背景"), ButtonWord},
    {"CLR(1);", QT_TRANSLATE_NOOP("MainWindow", "//用颜色1填充整个屏幕"), NoWord},
    {"CIR(60,60,3,1);", QT_TRANSLATE_NOOP("MainWindow", "//以(60,60)为圆心、3为半径画颜色1的空心圆"), NoWord},
    {"CIRF(60,60,3,1);", QT_TRANSLATE_NOOP("MainWindow", "//以(60,60)为圆心、3为半径画颜色1的实心圆"), NoWord},
    {"DC16(30,30,'%1',1);", QT_TRANSLATE_NOOP("MainWindow", "//在(30,30)显示16点阵透明文字，颜色1"), ModuleWord},
    {"DCV16(30,30,'%1',1);", QT_TRANSLATE_NOOP("MainWindow", "//在(30,30)显示16点阵带背景色的文字"), ModuleWord},
    {"DC24(30,30,'%1',1);", QT_TRANSLATE_NOOP("MainWindow", "//在(30,30)显示24点阵透明文字"), ModuleWord},
    {"DCV24(30,30,'%1',1);", QT_TRANSLATE_NOOP("MainWindow", "//在(30,30)显示24点阵带背景色的文字"), ModuleWord},
    {"DC32(30,30,'%1',1);", QT_TRANSLATE_NOOP("MainWindow", "//在(30,30)显示32点阵透明文字"), ModuleWord},
    {"DCV32(30,30,'%1',1);", QT_TRANSLATE_NOOP("MainWindow", "//在(30,30)显示32点阵带背景色的文字"), ModuleWord},
    {"DC48(30,46,'%1',1,0);", QT_TRANSLATE_NOOP("MainWindow", "//在(30,46)显示48点阵文字，颜色1，最后的参数0为透明"), ModuleWord},
    {"DC72(0,0,'ABC',1,0);", QT_TRANSLATE_NOOP("MainWindow", "//在(0,0)显示72点阵文字ABC，透明"), NoWord},
    {"DC96(0,0,'ABC',1,0);", QT_TRANSLATE_NOOP("MainWindow", "//在(0,0)显示96点阵文字ABC，透明"), NoWord},
    {"DELAYMS(100);", QT_TRANSLATE_NOOP("MainWindow", "//延时100ms"), NoWord},
    {"DIR(1);", QT_TRANSLATE_NOOP("MainWindow", "//d为方向选择参数d=0为默认原始竖屏方向d=1 为原始竖屏方向逆时针旋转90°的横屏 d=2为d=1顺时针旋转180"), NoWord},
    {"FSIMG(0,0,0,176,220,0);", QT_TRANSLATE_NOOP("MainWindow", "//在(0,0)正常显示0号图片，大小176x220，用于编号模式MODE_CFG(2)"), NoWord},
    {"FSIMG(2097152,0,0,176,220,0);", QT_TRANSLATE_NOOP("MainWindow", "//按flash地址显示同一张图片，用于地址模式MODE_CFG(0)或MODE_CFG(1)"), NoWord},
    {"JUMP(1);", QT_TRANSLATE_NOOP("MainWindow", "//跳转到第一页"), NoWord},
    {"LCDON(0);", QT_TRANSLATE_NOOP("MainWindow", "//关闭lcd"), NoWord},
    {"PS(20,20,1);", QT_TRANSLATE_NOOP("MainWindow", "//在(20,20)画一个颜色1的点"), NoWord},
    {"PL(0,0,90,90,1);", QT_TRANSLATE_NOOP("MainWindow", "//从(0,0)到(90,90)画颜色1的直线"), NoWord},
    {"QBAR(0,http://www.example.com);", QT_TRANSLATE_NOOP("MainWindow", "//把0号二维码的内容设为http://www.example.com"), NoWord},
    {"QRCODE(10,10,http://www.example.com,100,1);",
     QT_TRANSLATE_NOOP("MainWindow", "//在(10,10)显示指向http://www.example.com的二维码，大小上限100（模块自动选择版本），颜色1，仅部分型号支持"),
     NoWord},
    {"RESET();", QT_TRANSLATE_NOOP("MainWindow", "//重启模块"), NoWord},
    {"SBC(1);", QT_TRANSLATE_NOOP("MainWindow", "//设置背景色为1，配合DCV和DC48使用"), NoWord},
    {"SET_BTN(1,1);", QT_TRANSLATE_NOOP("MainWindow", "//设置1号按钮为按下状态"), NoWord},
    {"SET_BTN_IMG(0,0,1);", QT_TRANSLATE_NOOP("MainWindow", "//设置0号按钮松开状态的图片为1号图片并重绘"), NoWord},
    {"SET_NUM(3,20,3);", QT_TRANSLATE_NOOP("MainWindow", "//3号数字控件显示20，3位数字"), NoWord},
    {"SET_POINT(5,90);", QT_TRANSLATE_NOOP("MainWindow", "//5号指针指向90度"), NoWord},
    {"SET_PROG(4,50);", QT_TRANSLATE_NOOP("MainWindow", "//4号进度条设为50"), NoWord},
    {"SET_TXT(2,'%1');", QT_TRANSLATE_NOOP("MainWindow", "//设置文本2的内容为'关闭'，注意只支持16个中文"), CloseWord},
    {"SET_HDOT(1);", QT_TRANSLATE_NOOP("MainWindow", "//1：小数点占半个字符宽度；0：恢复正常小数点"), NoWord},
    {"SET_BCOLOR(0,1);", QT_TRANSLATE_NOOP("MainWindow", "//设置0号控件的背景色为1"), NoWord},
    {"SET_BCOLOR2(0,1);", QT_TRANSLATE_NOOP("MainWindow", "//设置0号控件的第二背景色为1"), NoWord},
    {"SET_FCOLOR(0,1);", QT_TRANSLATE_NOOP("MainWindow", "//设置0号控件的前景色为1"), NoWord},
    {"SET_FRAME_COLOR(0,1);", QT_TRANSLATE_NOOP("MainWindow", "//设置0号控件的边框颜色为1"), NoWord},
    {"VER();", QT_TRANSLATE_NOOP("MainWindow", "//获取模块的固件版本信息"), NoWord},
    {"GET_ADDR();", QT_TRANSLATE_NOOP("MainWindow", "//获取485地址信息"), NoWord},
    {"ADDR(1);", QT_TRANSLATE_NOOP("MainWindow", "//设置地址为1的地址头"), NoWord},
};

QString translated(const char *text) { return QCoreApplication::translate("MainWindow", text); }

}  // namespace

namespace CommandExamples {

QVector<Example> all()
{
    // Looked up once per build of the list.
    const QString words[] = {QString(), QCoreApplication::translate("MainWindow", "按钮"),
                             QCoreApplication::translate("MainWindow", "串口模块"),
                             QCoreApplication::translate("MainWindow", "关闭")};
    QVector<Example> out;
    for (const Row &r : kRows) {
        QString instruction = QString::fromUtf8(r.instruction);
        if (r.word != NoWord)
            instruction = instruction.arg(words[r.word]);
        out.append({instruction, translated(r.comment)});
    }
    return out;
}

QStringList fill(QStandardItemModel *model)
{
    model->clear();
    QStringList instructions;
    for (const Example &e : all()) {
        instructions << e.instruction;
        auto *item = new QStandardItem(e.instruction + e.comment);
        // The list wraps long comments; the tip shows the instruction and its comment apart.
        item->setToolTip(e.instruction + QLatin1Char('\n') + e.comment);
        model->appendRow(item);
    }
    return instructions;
}

}  // namespace CommandExamples
