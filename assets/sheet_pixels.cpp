#include "sheet_pixels.h"

#ifndef QUIBBIX_SHEET_PIXELS
#error "QUIBBIX_SHEET_PIXELS must name the folder of the sheets' pixel files"
#endif

// The assembler copies each file in as it is; ccache leaves such objects
// alone, so a changed sheet is always taken in anew.
#define QUIBBIX_EMBED_SHEET(name)                               \
  __asm__(                                                      \
      ".section .rodata\n"                                      \
      ".balign 64\n"                                            \
      ".global quibbix_sheet_" #name                            \
      "\n"                                                      \
      ".type quibbix_sheet_" #name                              \
      ", @object\n"                                             \
      "quibbix_sheet_" #name                                    \
      ":\n"                                                     \
      ".incbin \"" QUIBBIX_SHEET_PIXELS "/" #name               \
      ".rgb32\"\n"                                              \
      ".size quibbix_sheet_" #name ", . - quibbix_sheet_" #name \
      "\n"                                                      \
      ".previous\n");

QUIBBIX_EMBED_SHEET(background)
QUIBBIX_EMBED_SHEET(crates)
QUIBBIX_EMBED_SHEET(pictures)
QUIBBIX_EMBED_SHEET(digits)
