#pragma once

// Marks what a shared library of the suite exports; everything else is hidden.
#define VELINOR_EXPORT __attribute__((visibility("default")))
