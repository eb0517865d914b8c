#pragma once

// The program's text files: Windows-1251 text, CR LF line ends, print-style numbers, key line /
// value line pairs, bounded reads and whole-file replacement. Each job has its own header; most
// readers and writers of a format need all of them.
#include "core/codepage.h"
#include "core/keyvalues.h"
#include "core/textlines.h"
#include "core/wholefile.h"
