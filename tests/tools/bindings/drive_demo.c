/* Drives the demo project's page 1 through its generated C bindings: every refusal first (none
 * may write a byte), then the instructions, on the serial device named by argv[1] ("-" for
 * standard output). */
#include "demo.h"

#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <termios.h>
#include <unistd.h>

static size_t written;

static void count(const uint8_t *bytes, size_t n, void *ctx)
{
    (void)bytes;
    (void)ctx;
    written += n;
}

static void to_fd(const uint8_t *bytes, size_t n, void *ctx)
{
    const int fd = *(const int *)ctx;
    while (n > 0) {
        const ssize_t k = write(fd, bytes, n);
        if (k <= 0)
            return;
        bytes += k;
        n -= (size_t)k;
    }
}

static int failures;

#define REFUSED(call, code)                                                                  \
    do {                                                                                     \
        const int got = (call);                                                              \
        if (got != (code) || written != 0) {                                                 \
            fprintf(stderr, "%s: %d (want %d), %zu bytes\n", #call, got, (code), written);   \
            ++failures;                                                                      \
        }                                                                                    \
    } while (0)

#define SENT(call)                                                                           \
    do {                                                                                     \
        const int got = (call);                                                              \
        if (got != DEMO_OK) {                                                                \
            fprintf(stderr, "%s: %d\n", #call, got);                                         \
            ++failures;                                                                      \
        }                                                                                    \
    } while (0)

int main(int argc, char **argv)
{
    static const uint8_t badGbk[] = {0x81, 0x20};
    static const uint8_t quoteGbk[] = {'a', '\''};
    char longText[80];
    int fd = 1;
    struct termios tio;
    if (argc != 2)
        return 2;

    REFUSED(demo_show_page1(), DEMO_ERR_NO_WRITER);
    demo_init(count, NULL);
    memset(longText, 'a', sizeof longText - 1);
    longText[DEMO_TEXT_BYTES + 1] = '\0';
    REFUSED(demo_page1_text0_set_text("it's"), DEMO_ERR_CHARACTER);
    REFUSED(demo_page1_text0_set_text("two\nlines"), DEMO_ERR_CHARACTER);
    REFUSED(demo_page1_text0_set_text("\xe7\x8c\xab"), DEMO_ERR_CHARACTER); /* in GBK, not in the table */
    REFUSED(demo_page1_text0_set_text("\xe2\x82\xac"), DEMO_ERR_CHARACTER); /* no GBK form */
    REFUSED(demo_page1_text0_set_text("\xc3\x28"), DEMO_ERR_ENCODING);
    REFUSED(demo_page1_text0_set_text("\xe0\x80\xaf"), DEMO_ERR_ENCODING);  /* overlong */
    REFUSED(demo_page1_text0_set_text(longText), DEMO_ERR_LENGTH);
    REFUSED(demo_page1_text0_set_text(NULL), DEMO_ERR_RANGE);
    REFUSED(demo_page1_text0_set_text_gbk(badGbk, sizeof badGbk), DEMO_ERR_ENCODING);
    REFUSED(demo_page1_text0_set_text_gbk(quoteGbk, sizeof quoteGbk), DEMO_ERR_CHARACTER);
    REFUSED(demo_page2_qrcode0_set_text("a;b"), DEMO_ERR_CHARACTER);
    REFUSED(demo_page1_progress6_set_value(101), DEMO_ERR_RANGE);
    REFUSED(demo_page1_progress6_set_value(-1), DEMO_ERR_RANGE);
    REFUSED(demo_page1_pointer7_set_angle(361), DEMO_ERR_RANGE);
    REFUSED(demo_page1_text1_set_fore_color(64), DEMO_ERR_RANGE);
    REFUSED(demo_page1_number2_set_value(1000, 0), DEMO_ERR_RANGE);
    REFUSED(demo_page1_number2_set_value(10000, 1), DEMO_ERR_RANGE);
    REFUSED(demo_page1_number2_set_value(1, 5), DEMO_ERR_RANGE);
    REFUSED(demo_page1_button3_set_pressed(2), DEMO_ERR_RANGE);
    REFUSED(demo_page1_button3_set_picture(-1), DEMO_ERR_RANGE);

    if (strcmp(argv[1], "-") != 0) {
        fd = open(argv[1], O_RDWR | O_NOCTTY);
        if (fd < 0 || tcgetattr(fd, &tio) != 0)
            return 2;
        cfmakeraw(&tio);
        tcsetattr(fd, TCSANOW, &tio);
    }
    demo_init(to_fd, &fd);
    SENT(demo_show_page1());
    SENT(demo_page1_text0_set_text("\xe6\xb8\xa9\xe5\xba\xa6 23.5")); /* 温度 23.5 */
    SENT(demo_page1_progress6_set_value(70));
    SENT(demo_page1_number2_set_value(-125, 1));
    SENT(demo_page1_text1_set_fore_color(1));
    SENT(demo_page1_pointer7_set_angle(45));
    SENT(demo_page1_button3_set_pressed(1));
    if (fd != 1) {
        tcdrain(fd);
        sleep(1); /* let the module read everything before the line closes */
        close(fd);
    }
    return failures == 0 ? 0 : 1;
}
