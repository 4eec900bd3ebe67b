#pragma once

extern const char kHeaderTemplate[];
extern const char kMachineTemplate[];
extern const char kExampleTemplate[];
