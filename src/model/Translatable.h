#pragma once

// Marks an English text of the Qt-free core for the translation catalogues. The core itself
// always speaks English: the window and the CLI look the text up by its English words in
// `context` when they show it, and what is sent to the service stays as written here.
// (lupdate reads this macro as QT_TRANSLATE_NOOP.)
#define QUORVA_TEXT(context, text) text
