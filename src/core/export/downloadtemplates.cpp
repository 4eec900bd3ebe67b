// The fixed parts of the exported download: the machine, its header and the example program.
// "@p@" and "@P@" stand for the prefix in lower and upper case, "@NAME@" for generated text.
#include "export/downloadtemplates.h"

const char kHeaderTemplate[] = R"C(#ifndef @P@_DOWNLOAD_H
#define @P@_DOWNLOAD_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* How a download ended: the result in the end callback. */
enum {
    @P@_DOWNLOAD_OK = 0,      /* everything stored; the module restarts with it */
    @P@_DOWNLOAD_TIMEOUT = 1, /* the module did not answer a step in time */
    @P@_DOWNLOAD_LIMITS = 2,  /* a page is more than the module takes: page, limit_kind, limit */
    @P@_DOWNLOAD_FLASH = 3,   /* the pictures do not fit the module's flash: limit holds its bytes */
    @P@_DOWNLOAD_LINK = 4,    /* the write callback failed, or @p@_download_line_lost() */
    @P@_DOWNLOAD_ANSWER = 5,  /* the module's information answer could not be read */
    @P@_DOWNLOAD_READER = 6   /* the read callback failed */
};

/* Which of the module's limits a page passes (with @P@_DOWNLOAD_LIMITS). */
enum {
    @P@_DOWNLOAD_LIMIT_CONTROLS = 1, /* controls on one page */
    @P@_DOWNLOAD_LIMIT_BYTES = 2,    /* instruction bytes of one page */
    @P@_DOWNLOAD_LIMIT_TEXT = 3      /* bytes of the text of one text, number or button control */
};

typedef struct {
    int result;
    int page;       /* LIMITS: the first page over the limit; otherwise -1 */
    int limit_kind; /* LIMITS: which limit; otherwise 0 */
    long limit;     /* LIMITS: the module's limit; FLASH: the picture bytes it stores */
} @p@_download_end_t;

typedef struct {
    void *user; /* handed to every callback */
    /* Hands bytes to the line without waiting. Returns how many it took (0 when the line is
       full for now), or -1 when the line is gone. */
    long (*write)(void *user, const uint8_t *bytes, size_t n);
    /* Only when the pixel block is not built in: fills buffer with n bytes of the block from
       offset on. Returns 0, or non-zero when it cannot. */
    int (*read)(void *user, uint32_t offset, uint8_t *buffer, size_t n);
    /* Bytes handed to the line so far, of all the download sends. May be NULL. */
    void (*progress)(void *user, uint32_t done, uint32_t total);
    /* Called once, when the download ends. */
    void (*end)(void *user, const @p@_download_end_t *end);
    /* The line's baud rate; 0: the project's (@p@_download_baud). */
    uint32_t baud;
} @p@_download_callbacks_t;

/* Room for answers that arrive in pieces, and the read callback's piece of the pixel block. */
#define @P@_DOWNLOAD_KEEP @KEEP@
#define @P@_DOWNLOAD_CHUNK 256

/* One download's state. Its fields are the machine's own. */
typedef struct {
    const @p@_download_callbacks_t *cb;
    uint32_t now, step_start, gap_start, held, baud, gap_ms, done;
    uint32_t step, write_at, write_end, offset;
    uint8_t state, has_time, gap_armed, ticks;
    uint16_t chunk_len, chunk_at;
    size_t text_len;
    uint8_t text[@P@_DOWNLOAD_KEEP];
    uint8_t chunk[@P@_DOWNLOAD_CHUNK];
} @p@_download_t;

/* Starts the download; the callbacks must stay valid until it ends. */
void @p@_download_start(@p@_download_t *ctx, const @p@_download_callbacks_t *callbacks);
/* Bytes the module sent. */
void @p@_download_received(@p@_download_t *ctx, const uint8_t *bytes, size_t n);
/* Call often from the main loop with a millisecond clock (it may wrap): writes what the line
   takes and ends a step that waited too long. */
void @p@_download_poll(@p@_download_t *ctx, uint32_t now_ms);
/* The line broke (e.g. a read error): ends the download with @P@_DOWNLOAD_LINK. */
void @p@_download_line_lost(@p@_download_t *ctx);
/* Non-zero until the download has ended. */
int @p@_download_busy(const @p@_download_t *ctx);
/* Non-zero while bytes wait for the write callback (e.g. to wait for room on the line). */
int @p@_download_writing(const @p@_download_t *ctx);

/* The job's data (@p@_download_data.c). */
typedef struct {
    const uint8_t *bytes; /* NULL: the pixel block, from the read callback */
    uint32_t size;
} @p@_download_write_t;

typedef struct {
    uint32_t first_write, end_write; /* what the step sends */
    uint32_t timeout_ms;             /* longest wait for its answer */
    uint32_t held;                   /* block bytes whose line time is added until they left */
    uint8_t flags;                   /* 1: erase and write ticks restart the wait; 2: the last */
} @p@_download_step_t;

typedef struct {
    int32_t controls, bytes, longest_text; /* longest_text -1: no text */
} @p@_download_page_t;

extern const @p@_download_write_t @p@_download_writes[];
extern const @p@_download_step_t @p@_download_steps[];
extern const @p@_download_page_t @p@_download_pages[];
extern const uint32_t @p@_download_page_count;
extern const uint32_t @p@_download_picture_bytes; /* also the size of the pixel block */
extern const uint32_t @p@_download_total;         /* every byte the download sends */
extern const uint32_t @p@_download_baud;
@DATA_DECLARATIONS@
#ifdef __cplusplus
}
#endif

#endif
)C";

const char kMachineTemplate[] = R"C(#include "@p@_download.h"

enum { RUNNING = 1, FINISHING = 2, DONE = 3 };
enum { NOTHING, WAIT, ADVANCE, FAIL, QUIET };
enum { K_OK, K_GETADDR, K_INFO, K_FIRMWARE, K_FLASH, K_ERASE, K_WRITE };
enum { STEP_TICKS = 1, STEP_FINAL = 2 };

/* The module's answers in the order they are looked for: the first one found decides. */
typedef struct {
    const char *text;
    uint8_t length;
    uint8_t kind;
    uint8_t fields;  /* "_"-separated fields of a whole answer; 0: any */
    uint32_t flash;  /* K_FLASH: picture bytes that module stores */
} token_t;

static const token_t tokens[] = {
@TOKENS@};
#define TOKEN_COUNT ((int)(sizeof tokens / sizeof tokens[0]))

/* A quiet line for this many byte times (and at least MIN_GAP_MS) ends an answer. */
#define MIN_GAP_MS @MIN_GAP@u
#define GAP_BYTES @GAP_BYTES@u
/* A block's step also waits LINE_FACTOR times its line time and SLACK_MS until it has left. */
#define LINE_FACTOR @LINE_FACTOR@u
#define SLACK_MS @SLACK@u

static long find(const uint8_t *t, size_t n, const token_t *token)
{
    const char *s = token->text;
    const size_t m = token->length;
    size_t i, j;
    for (i = 0; i + m <= n; ++i) {
        for (j = 0; j < m && t[i + j] == (uint8_t)s[j]; ++j) {
        }
        if (j == m)
            return (long)i;
    }
    return -1;
}

static int find_token(const @p@_download_t *d, long *at)
{
    int k;
    for (k = 0; k < TOKEN_COUNT; ++k) {
        *at = find(d->text, d->text_len, &tokens[k]);
        if (*at >= 0)
            return k;
    }
    return -1;
}

static int line_end_in(const uint8_t *t, size_t n)
{
    size_t i;
    for (i = 0; i < n; ++i)
        if (t[i] == '\r' || t[i] == '\n')
            return 1;
    return 0;
}

static int is_space(uint8_t c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

/* The text may be an answer still on its way: it ends in the start of a token, or holds an
   answer with fields but no line end yet. */
static int looks_cut_off(const @p@_download_t *d)
{
    long at;
    int k;
    for (k = 0; k < TOKEN_COUNT; ++k) {
        const size_t len = tokens[k].length;
        size_t m = len - 1 < d->text_len ? len - 1 : d->text_len;
        for (; m >= 1; --m) {
            size_t j;
            for (j = 0; j < m && d->text[d->text_len - m + j] == (uint8_t)tokens[k].text[j]; ++j) {
            }
            if (j == m)
                return 1;
        }
    }
    k = find_token(d, &at);
    if (k >= 0 && (tokens[k].kind == K_INFO || tokens[k].kind == K_GETADDR || tokens[k].kind == K_FIRMWARE))
        return !line_end_in(d->text + at, d->text_len - (size_t)at);
    return 0;
}

/* An answer with fields and no line end that lacks some of them: more is to come. */
static int lacks_fields(int k, const uint8_t *t, size_t n)
{
    size_t i, fields = 1, last = 0;
    int blank = 1;
    if (tokens[k].fields == 0 || line_end_in(t, n))
        return 0;
    for (i = 0; i < n; ++i)
        if (t[i] == '_') {
            ++fields;
            last = i + 1;
        }
    for (i = last; i < n; ++i)
        if (!is_space(t[i]))
            blank = 0;
    return fields < tokens[k].fields || (fields == tokens[k].fields && blank);
}

/* One field of an answer as a whole number: spaces around it, a sign, digits; anything else
   (or nothing) reads as 0. */
typedef struct {
    int state, negative, bad;
    unsigned long value;
} number_t;

static void number_add(number_t *n, uint8_t c)
{
    if (n->bad)
        return;
    if (is_space(c)) {
        if (n->state == 1)
            n->bad = 1;
        else if (n->state == 2)
            n->state = 3;
    } else if ((c == '+' || c == '-') && n->state == 0) {
        n->state = 1;
        n->negative = c == '-';
    } else if (c >= '0' && c <= '9' && n->state < 3) {
        const unsigned long most = 2147483647UL + (unsigned long)n->negative;
        n->state = 2;
        if (n->value > (most - (unsigned long)(c - '0')) / 10u)
            n->bad = 1;
        else
            n->value = n->value * 10u + (unsigned long)(c - '0');
    } else {
        n->bad = 1;
    }
}

static long number_value(const number_t *n)
{
    if (n->bad || n->state < 2)
        return 0;
    if (!n->negative)
        return (long)n->value;
    return n->value > 2147483647UL ? -2147483647L - 1 : -(long)n->value;
}

/* The first page whose load of one kind passes the module's limit, or -1. */
static long first_page_over(int kind, long limit)
{
    uint32_t p;
    for (p = 0; p < @p@_download_page_count; ++p) {
        const @p@_download_page_t *page = &@p@_download_pages[p];
        const long load = kind == @P@_DOWNLOAD_LIMIT_CONTROLS ? page->controls
                          : kind == @P@_DOWNLOAD_LIMIT_BYTES  ? page->bytes
                                                              : page->longest_text;
        if (load >= 0 && load > limit)
            return (long)p;
    }
    return -1;
}

static int check_information(@p@_download_t *d, long at, @p@_download_end_t *e)
{
    /* INFO_a_b_controls_bytes_e_text: line ends ("\r\n") left out, exactly six fields. */
    number_t f[6];
    size_t i, field = 0;
    long limits[4];
    int kind;
    for (i = 0; i < 6; ++i) {
        f[i].state = f[i].negative = f[i].bad = 0;
        f[i].value = 0;
    }
    for (i = (size_t)at; i < d->text_len; ++i) {
        const uint8_t c = d->text[i];
        if (c == '\r' && i + 1 < d->text_len && d->text[i + 1] == '\n') {
            ++i;
        } else if (c == '_') {
            if (++field >= 6)
                return QUIET;
        } else {
            number_add(&f[field], c);
        }
    }
    if (field != 5)
        return QUIET;
    limits[@P@_DOWNLOAD_LIMIT_CONTROLS] = number_value(&f[2]);
    limits[@P@_DOWNLOAD_LIMIT_BYTES] = number_value(&f[3]);
    limits[@P@_DOWNLOAD_LIMIT_TEXT] = number_value(&f[5]);
    /* Every page against the controls first, then the bytes, then the texts. */
    for (kind = @P@_DOWNLOAD_LIMIT_CONTROLS; kind <= @P@_DOWNLOAD_LIMIT_TEXT; ++kind) {
        const long page = first_page_over(kind, limits[kind]);
        if (page >= 0) {
            e->result = @P@_DOWNLOAD_LIMITS;
            e->page = (int)page;
            e->limit_kind = kind;
            e->limit = limits[kind];
            return FAIL;
        }
    }
    return ADVANCE;
}

/* What the text received so far asks for; final: the line has been quiet for the gap. */
static int decide(@p@_download_t *d, int final, int *tick, @p@_download_end_t *e)
{
    long at;
    const int k = find_token(d, &at);
    int action = ADVANCE;
    if ((k < 0 || tokens[k].kind != K_OK) && !final && looks_cut_off(d))
        return WAIT;
    if (k < 0)
        return NOTHING;
    if (final && d->text_len <= @P@_DOWNLOAD_KEEP && lacks_fields(k, d->text + at, d->text_len - (size_t)at))
        return NOTHING;
    switch (tokens[k].kind) {
    case K_INFO:
        action = check_information(d, at, e);
        break;
    case K_FLASH:
        if (@p@_download_picture_bytes > tokens[k].flash) {
            e->result = @P@_DOWNLOAD_FLASH;
            e->limit = (long)tokens[k].flash;
            action = FAIL;
        }
        break;
    case K_ERASE:
    case K_WRITE:
        *tick = 1;
        action = NOTHING;
        break;
    default:
        break;
    }
    d->text_len = 0;
    return action;
}

static void finish(@p@_download_t *d, @p@_download_end_t *e)
{
    d->state = DONE;
    d->gap_armed = 0;
    d->cb->end(d->cb->user, e);
}

static void end_with(@p@_download_t *d, int result)
{
    @p@_download_end_t e;
    e.result = result;
    e.page = -1;
    e.limit_kind = 0;
    e.limit = 0;
    finish(d, &e);
}

static void begin_step(@p@_download_t *d, uint32_t step)
{
    const @p@_download_step_t *s = &@p@_download_steps[step];
    d->step = step;
    d->step_start = d->now;
    d->held = s->held;
    /* Writes of one step follow those of the one before, so the queue only grows at its end. */
    d->write_end = s->end_write;
    if (s->flags & STEP_TICKS)
        d->ticks = 1;
    if (s->flags & STEP_FINAL)
        d->state = FINISHING;
}

/* Line time of bytes at the job's rate, in whole milliseconds, without 64-bit arithmetic. */
static uint32_t line_ms(uint32_t bytes, uint32_t baud)
{
    const uint32_t r = (bytes % baud) * 100u;
    return bytes / baud * 10000u + r / baud * 100u + r % baud * 100u / baud;
}

static void pump(@p@_download_t *d)
{
    while ((d->state == RUNNING || d->state == FINISHING) && d->write_at < d->write_end) {
        const @p@_download_write_t *w = &@p@_download_writes[d->write_at];
        const uint8_t *p;
        size_t n;
        long taken;
        if (d->offset >= w->size) {
            ++d->write_at;
            d->offset = 0;
            continue;
        }
        if (w->bytes) {
            p = w->bytes + d->offset;
            n = w->size - d->offset;
        } else {
            if (d->chunk_at == d->chunk_len) {
                const uint32_t rest = w->size - d->offset;
                const uint16_t want = (uint16_t)(rest < @P@_DOWNLOAD_CHUNK ? rest : @P@_DOWNLOAD_CHUNK);
                if (!d->cb->read || d->cb->read(d->cb->user, d->offset, d->chunk, want) != 0) {
                    end_with(d, @P@_DOWNLOAD_READER);
                    return;
                }
                d->chunk_len = want;
                d->chunk_at = 0;
            }
            p = d->chunk + d->chunk_at;
            n = (size_t)(d->chunk_len - d->chunk_at);
        }
        taken = d->cb->write(d->cb->user, p, n);
        if (taken < 0) {
            end_with(d, @P@_DOWNLOAD_LINK);
            return;
        }
        if (taken == 0)
            break;
        if ((size_t)taken > n)
            taken = (long)n;
        d->offset += (uint32_t)taken;
        d->done += (uint32_t)taken;
        if (!w->bytes)
            d->chunk_at = (uint16_t)(d->chunk_at + taken);
        if (d->cb->progress)
            d->cb->progress(d->cb->user, d->done, @p@_download_total);
    }
    if (d->write_at < d->write_end)
        return;
    if (d->state == FINISHING) {
        end_with(d, @P@_DOWNLOAD_OK);
    } else if (d->state == RUNNING && d->held) {
        /* The block has left: its step waits from now on. */
        d->held = 0;
        d->step_start = d->now;
    }
}

static void act(@p@_download_t *d, int action, int tick, @p@_download_end_t *e)
{
    if (tick && d->ticks)
        d->step_start = d->now;
    if (action == ADVANCE) {
        begin_step(d, d->step + 1);
        pump(d);
    } else if (action == FAIL) {
        finish(d, e);
    } else if (action == QUIET) {
        end_with(d, @P@_DOWNLOAD_ANSWER);
    }
}

static void blank_end(@p@_download_end_t *e)
{
    e->result = @P@_DOWNLOAD_OK;
    e->page = -1;
    e->limit_kind = 0;
    e->limit = 0;
}

void @p@_download_start(@p@_download_t *d, const @p@_download_callbacks_t *callbacks)
{
    d->cb = callbacks;
    d->baud = callbacks->baud ? callbacks->baud : @p@_download_baud;
    d->gap_ms = (GAP_BYTES * 10u * 1000u + d->baud - 1u) / d->baud;
    if (d->gap_ms < MIN_GAP_MS)
        d->gap_ms = MIN_GAP_MS;
    d->now = d->step_start = d->gap_start = 0;
    d->has_time = d->gap_armed = d->ticks = 0;
    d->done = d->write_at = d->offset = 0;
    d->chunk_len = d->chunk_at = 0;
    d->text_len = 0;
    d->state = RUNNING;
    begin_step(d, 0);
    pump(d);
}

void @p@_download_received(@p@_download_t *d, const uint8_t *bytes, size_t n)
{
    while (n > 0 && d->state == RUNNING) {
        @p@_download_end_t e;
        int tick = 0, action;
        size_t i, piece = n < @P@_DOWNLOAD_KEEP ? n : @P@_DOWNLOAD_KEEP;
        if (d->text_len + piece > @P@_DOWNLOAD_KEEP) {
            /* Nothing recognised in a full buffer: keep its newest part. */
            const size_t drop = d->text_len + piece - @P@_DOWNLOAD_KEEP;
            for (i = drop; i < d->text_len; ++i)
                d->text[i - drop] = d->text[i];
            d->text_len -= drop;
        }
        for (i = 0; i < piece; ++i)
            d->text[d->text_len++] = bytes[i];
        bytes += piece;
        n -= piece;
        blank_end(&e);
        action = decide(d, 0, &tick, &e);
        if (action == WAIT) {
            d->gap_armed = 1;
            d->gap_start = d->now;
            continue;
        }
        d->gap_armed = 0;
        act(d, action, tick, &e);
    }
}

void @p@_download_poll(@p@_download_t *d, uint32_t now_ms)
{
    d->now = now_ms;
    if (!d->has_time) {
        /* The first reading of the clock: what waits, waits from now. */
        d->has_time = 1;
        d->step_start = d->gap_start = now_ms;
    }
    if (d->state == RUNNING && d->gap_armed && now_ms - d->gap_start >= d->gap_ms) {
        @p@_download_end_t e;
        int tick = 0;
        d->gap_armed = 0;
        blank_end(&e);
        act(d, decide(d, 1, &tick, &e), tick, &e);
    }
    pump(d);
    if (d->state == RUNNING) {
        uint32_t allowed = @p@_download_steps[d->step].timeout_ms;
        if (d->held)
            allowed += LINE_FACTOR * line_ms(d->held, d->baud) + SLACK_MS;
        if (now_ms - d->step_start > allowed)
            end_with(d, @P@_DOWNLOAD_TIMEOUT);
    }
}

void @p@_download_line_lost(@p@_download_t *d)
{
    if (d->state == RUNNING || d->state == FINISHING)
        end_with(d, @P@_DOWNLOAD_LINK);
}

int @p@_download_busy(const @p@_download_t *d) { return d->state == RUNNING || d->state == FINISHING; }

int @p@_download_writing(const @p@_download_t *d) { return @p@_download_busy(d) && d->write_at < d->write_end; }
)C";

const char kExampleTemplate[] = R"C(/* Runs the download on a serial device:
 *     @p@_example_posix DEVICE [--baud N]@PIXELS_USAGE@
 * Prints its progress and how it ended; exits 0 when the module stored everything, 1 otherwise. */
#define _POSIX_C_SOURCE 200809L

#include "@p@_download.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

typedef struct {
    int fd;
    FILE *pixels;
    int ended;
    int percent;
    @p@_download_end_t end;
} line_t;

static uint32_t now_ms(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (uint32_t)((unsigned long)t.tv_sec * 1000u + (unsigned long)t.tv_nsec / 1000000u);
}

static long write_line(void *user, const uint8_t *bytes, size_t n)
{
    line_t *line = (line_t *)user;
    const ssize_t k = write(line->fd, bytes, n);
    if (k >= 0)
        return (long)k;
    return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR ? 0 : -1;
}

static int read_pixels(void *user, uint32_t offset, uint8_t *buffer, size_t n)
{
    line_t *line = (line_t *)user;
    if (!line->pixels || fseek(line->pixels, (long)offset, SEEK_SET) != 0)
        return -1;
    return fread(buffer, 1, n, line->pixels) == n ? 0 : -1;
}

static void show_progress(void *user, uint32_t done, uint32_t total)
{
    line_t *line = (line_t *)user;
    const int percent = total ? (int)((unsigned long long)done * 100u / total) : 100;
    if (percent / 10 > line->percent / 10) {
        printf("%3d%%  %lu of %lu bytes\n", percent, (unsigned long)done, (unsigned long)total);
        fflush(stdout);
    }
    line->percent = percent;
}

static void ended(void *user, const @p@_download_end_t *end)
{
    line_t *line = (line_t *)user;
    line->ended = 1;
    line->end = *end;
}

static speed_t speed_of(unsigned long baud)
{
    switch (baud) {
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
#ifdef B57600
    case 57600: return B57600;
#endif
#ifdef B115200
    case 115200: return B115200;
#endif
#ifdef B230400
    case 230400: return B230400;
#endif
#ifdef B460800
    case 460800: return B460800;
#endif
#ifdef B921600
    case 921600: return B921600;
#endif
    default: return B0;
    }
}

static int open_line(const char *device, unsigned long baud)
{
    struct termios t;
    const speed_t speed = speed_of(baud);
    const int fd = open(device, O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        fprintf(stderr, "cannot open %s: %s\n", device, strerror(errno));
        return -1;
    }
    if (speed == B0 || tcgetattr(fd, &t) != 0) {
        fprintf(stderr, "%s: cannot set %lu baud\n", device, baud);
        close(fd);
        return -1;
    }
    /* Raw bytes, 8N1, no flow control. */
    t.c_iflag &= ~(tcflag_t)(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF);
    t.c_oflag &= ~(tcflag_t)OPOST;
    t.c_lflag &= ~(tcflag_t)(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    t.c_cflag &= ~(tcflag_t)(CSIZE | PARENB | CSTOPB);
    t.c_cflag |= CS8 | CREAD | CLOCAL;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    if (cfsetispeed(&t, speed) != 0 || cfsetospeed(&t, speed) != 0 || tcsetattr(fd, TCSANOW, &t) != 0) {
        fprintf(stderr, "%s: cannot set %lu baud\n", device, baud);
        close(fd);
        return -1;
    }
    /* Whatever the module said before is no answer to what comes now. */
    tcflush(fd, TCIFLUSH);
    return fd;
}

static const char *meaning(int result)
{
    switch (result) {
    case @P@_DOWNLOAD_OK: return "downloaded";
    case @P@_DOWNLOAD_TIMEOUT: return "the module did not answer in time";
    case @P@_DOWNLOAD_LIMITS: return "a page is more than the module takes";
    case @P@_DOWNLOAD_FLASH: return "the pictures do not fit the module's flash";
    case @P@_DOWNLOAD_LINK: return "the line broke";
    case @P@_DOWNLOAD_ANSWER: return "the module's answer could not be read";
    case @P@_DOWNLOAD_READER: return "the pixel block could not be read";
    default: return "unknown";
    }
}

int main(int argc, char **argv)
{
    static @p@_download_t download;
    static const char *const limits[] = {"", "controls", "bytes", "text bytes"};
    @p@_download_callbacks_t callbacks;
    line_t line;
    const char *device = NULL;
    const char *pixels = NULL;
    unsigned long baud = @p@_download_baud;
    uint32_t started;
    int i;

    for (i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--baud") == 0 && i + 1 < argc)
            baud = strtoul(argv[++i], NULL, 10);
        else if (strcmp(argv[i], "--pixels") == 0 && i + 1 < argc)
            pixels = argv[++i];
        else if (!device && argv[i][0] != '-')
            device = argv[i];
        else
            device = NULL, i = argc;
    }
    if (!device || baud == 0) {
        fprintf(stderr, "usage: %s DEVICE [--baud N]@PIXELS_USAGE@\n", argv[0]);
        return 2;
    }
    memset(&line, 0, sizeof line);
    line.fd = open_line(device, baud);
    if (line.fd < 0)
        return 1;
    if (pixels && !(line.pixels = fopen(pixels, "rb"))) {
        fprintf(stderr, "cannot open %s: %s\n", pixels, strerror(errno));
        return 1;
    }
    memset(&callbacks, 0, sizeof callbacks);
    callbacks.user = &line;
    callbacks.write = write_line;
    callbacks.read = read_pixels;
    callbacks.progress = show_progress;
    callbacks.end = ended;
    callbacks.baud = (uint32_t)baud;

    started = now_ms();
    @p@_download_start(&download, &callbacks);
    while (!line.ended) {
        struct pollfd p;
        p.fd = line.fd;
        p.events = (short)(POLLIN | (@p@_download_writing(&download) ? POLLOUT : 0));
        p.revents = 0;
        if (poll(&p, 1, 10) < 0 && errno != EINTR) {
            @p@_download_line_lost(&download);
            break;
        }
        if (p.revents & POLLIN) {
            uint8_t buffer[256];
            ssize_t n;
            while ((n = read(line.fd, buffer, sizeof buffer)) > 0)
                @p@_download_received(&download, buffer, (size_t)n);
            if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
                @p@_download_line_lost(&download);
        }
        if (p.revents & (POLLERR | POLLHUP | POLLNVAL))
            @p@_download_line_lost(&download);
        @p@_download_poll(&download, now_ms());
    }
    /* The last command is still on its way: let it leave before closing. */
    if (line.end.result == @P@_DOWNLOAD_OK)
        tcdrain(line.fd);
    close(line.fd);
    if (line.pixels)
        fclose(line.pixels);

    printf("result %d: %s", line.end.result, meaning(line.end.result));
    if (line.end.result == @P@_DOWNLOAD_LIMITS)
        printf(" (page %d, %s, the module takes %ld)", line.end.page, limits[line.end.limit_kind], line.end.limit);
    else if (line.end.result == @P@_DOWNLOAD_FLASH)
        printf(" (the module stores %ld bytes)", line.end.limit);
    printf("\ntime: %.2f s\n", (double)(uint32_t)(now_ms() - started) / 1000.0);
    return line.end.result == @P@_DOWNLOAD_OK ? 0 : 1;
}
)C";
