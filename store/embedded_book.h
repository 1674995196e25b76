// The demo book file, linked into the program by the target lekta_demo_book.
#pragma once

extern "C" const unsigned char lekta_demo_book[];
extern "C" const unsigned long lekta_demo_book_size;
