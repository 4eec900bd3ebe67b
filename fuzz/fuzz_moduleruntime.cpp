// Feeds arbitrary bytes to the virtual module's interpreter, line by line, with the clock moving
// on. Nothing may crash, and no more instructions may wait than the runtime allows.
#include "moduleruntime.h"
#include "script/moduletext.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QByteArray header = QByteArray::fromHex("00000006000200020001" "00010001");
    static const QByteArray pixels = QByteArray::fromHex("F80007E0001F");
    ModuleRuntime rt(QSize(64, 48));
    rt.setPictures(ModulePictures(header, pixels));
    rt.setPage(0, "CLR(2);TXT(0,0,20,10,16,'a',0,0,0,0,7,0);PROG(0,12,30,8,40,0,0,0,1,1,7,0);\r\n");
    rt.setPage(1, "BUTTON(1,1,20,10,16,'b',0,0,33,0,0,0,7,2,0);POINT(30,30,0,10,2,1);QRCODE(2,20,x,20,0);\r\n");
    rt.setBootScript("DIR(1);BL(3);JUMP(0);\r\n");
    qint64 now = 0;
    int answers = 0;
    rt.answer = [&answers](const QByteArray &) { ++answers; };
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size));
    for (const QByteArray &line : bytes.split('\n')) {
        rt.submit(ModuleText::decode(line), now);
        now += line.size();
        if (rt.pendingCount() > ModuleRuntime::MaxPending) {
            std::fprintf(stderr, "%d instructions waiting\n", rt.pendingCount());
            std::abort();
        }
    }
    rt.run(now + qint64(ModuleRuntime::MaxDelayMs) * ModuleRuntime::MaxPending);
    if (rt.pendingCount() != 0 || rt.frame().isNull())
        std::abort();
    return 0;
}
