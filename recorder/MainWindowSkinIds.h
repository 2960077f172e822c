// Bitmap ids of the recorder's main window and its two pages, in the recorder's
// skin module "sSonelleADVSkin.dll" (and in the program itself, its fallback).
// The picture generator draws them from these ids too.
#pragma once

#define IDB_MAIN_BACKGROUND 136     // whole window, 1000 x 680; its size is the window's
#define IDB_MAIN_TITLE 151          // product title, drawn at (3, 0) over the background
#define IDB_ABOUT_PICTURE 235       // the About box's picture, 48 x 48 on the box's face
#define IDB_MAIN_MINIMIZE 146       // caption buttons, 5 frames of 39 x 39
#define IDB_MAIN_EXIT 147
#define IDB_MAIN_HELP 148
#define IDB_MAIN_RIGHT_TAB 149      // page button at x 505 (Edit), 5 frames of 307 x 46
#define IDB_MAIN_LEFT_TAB 150       // page button at x 259 (Record), 5 frames of 307 x 46
#define IDB_PAGE_RECORD_BACK 152    // Record page background, 966 x 582
#define IDB_PAGE_EDIT_BACK 177      // Edit page background, 966 x 582

// Where the main window puts what the pictures are drawn for.
#define MAIN_WINDOW_WIDTH 1000
#define MAIN_WINDOW_HEIGHT 680
#define MAIN_PAGE_X 17
#define MAIN_PAGE_Y 79
#define MAIN_PAGE_WIDTH 966
#define MAIN_PAGE_HEIGHT 582
#define MAIN_CAPTION_BUTTON_Y 14
#define MAIN_CAPTION_BUTTON_SIZE 39
#define MAIN_HELP_X 857
#define MAIN_MINIMIZE_X 900
#define MAIN_EXIT_X 943
#define MAIN_TAB_Y 22
#define MAIN_TAB_WIDTH 307
#define MAIN_TAB_HEIGHT 46
#define MAIN_LEFT_TAB_X 259
#define MAIN_RIGHT_TAB_X 505
