# Drives the demo project's page 1 through its generated Python module: every refusal first
# (none may write a byte), then the instructions through a real serial port on argv[1].
import sys
import time

import serial

import demo_display as d


class Counter:
    def __init__(self):
        self.n = 0

    def write(self, data):
        self.n += len(data)


counter = Counter()
m = d.Demo(counter)
failures = []
for i, (call, want) in enumerate([
    (lambda: m.page1_text0_set_text("it's"), d.ERR_CHARACTER),
    (lambda: m.page1_text0_set_text("two\r\nlines"), d.ERR_CHARACTER),
    (lambda: m.page1_text0_set_text("\u732b"), d.ERR_CHARACTER),
    (lambda: m.page1_text0_set_text("a" * 65), d.ERR_LENGTH),
    (lambda: m.page1_text0_set_text(b"bytes"), d.ERR_RANGE),
    (lambda: m.page1_text0_set_text_gbk(b"\x81\x20"), d.ERR_ENCODING),
    (lambda: m.page2_qrcode0_set_text("a;b"), d.ERR_CHARACTER),
    (lambda: m.page1_progress6_set_value(101), d.ERR_RANGE),
    (lambda: m.page1_pointer7_set_angle(361), d.ERR_RANGE),
    (lambda: m.page1_text1_set_fore_color(64), d.ERR_RANGE),
    (lambda: m.page1_number2_set_value(1000), d.ERR_RANGE),
    (lambda: m.page1_number2_set_value(1, 5), d.ERR_RANGE),
    (lambda: m.page1_number2_set_value(1.5), d.ERR_RANGE),
    (lambda: m.page1_button3_set_pressed(2), d.ERR_RANGE),
    (lambda: m.page1_button3_set_picture(-1), d.ERR_RANGE),

]):
    got = call()
    if got != want or counter.n:
        failures.append("refusal %d: got %r, %d bytes" % (i, got, counter.n))

port = serial.Serial(sys.argv[1], 115200)
m = d.Demo(port)
for result in [
    m.show_page1(),
    m.page1_text0_set_text("\u6e29\u5ea6 23.5"),
    m.page1_progress6_set_value(70),
    m.page1_number2_set_value(-125, 1),
    m.page1_text1_set_fore_color(1),
    m.page1_pointer7_set_angle(45),
    m.page1_button3_set_pressed(1),
]:
    if result != d.OK:
        failures.append("sent: %r" % result)
port.flush()
time.sleep(1)
port.close()
print("\n".join(failures), file=sys.stderr)
sys.exit(1 if failures else 0)
