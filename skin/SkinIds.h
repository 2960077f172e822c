// Bitmap resource ids of the skin modules, shared by the programs, the skin
// modules and the generator that draws the pictures. Each program has its own
// skin module, so an id means a picture within one module only.
#pragma once

// Recorder skin ("sSonelleADVSkin.dll"; the recorder carries the same pictures itself).
#define IDB_REC_GRAPH_BAR 134          // lit bar of the level graphs, 10 x 213
#define IDB_REC_STOP 153               // Stop button, 5 frames of 86 x 86
#define IDB_REC_OPTION 154             // Option button, 5 frames of 86 x 86
#define IDB_REC_RECORD 155             // REC button, 5 frames of 86 x 86
#define IDB_REC_PUBLISH 156            // Publish button, 5 frames of 100 x 100
#define IDB_REC_PROGRESS 157           // recording progress, 459 x 14 (empty row, full row)
#define IDB_REC_SPIN 158               // time-field spin, 5 frames of 15 x 21
#define IDB_REC_LEVEL_THUMB 161        // input-level slider thumb, 25 x 13, key colour at (0, 0)
#define IDB_REC_LEVEL_BAR 164          // input meter, 34 x 219 (empty half, full half)
#define IDB_REC_LIST_HEADER 166        // list header: edges and fill, normal and hot, 22 x 22
#define IDB_EDIT_UNDO 174              // Edit page buttons: 5 frames each (sizes as placed)
#define IDB_EDIT_AUTOSPLIT 175
#define IDB_EDIT_CLEAR 176
#define IDB_EDIT_EFFECT 178
#define IDB_EDIT_TO_START 179
#define IDB_EDIT_REWIND 180
#define IDB_EDIT_TO_END 181
#define IDB_EDIT_FORWARD 182
#define IDB_EDIT_PAUSE 183
#define IDB_EDIT_PLAY 184
#define IDB_EDIT_STOP 185
#define IDB_EDIT_OPEN 186
#define IDB_EDIT_SPLIT 187
#define IDB_EDIT_FIT 188
#define IDB_EDIT_ZOOM_IN 189
#define IDB_EDIT_ZOOM_OUT 190
#define IDB_REC_TIME_BACK 172          // Edit page time display, 230 x 15
#define IDB_REC_SCROLL 173             // scroll bar cells, 9 x 16 by 3 rows of 16
#define IDB_PUB_BACKGROUND 193         // publish dialog, 880 x 556; its size is the dialog's
#define IDB_PUB_MP3_SETTING 194        // publish dialog buttons, 5 frames of 61 x 26
#define IDB_PUB_EJECT 195
#define IDB_PUB_FOLDER 196
#define IDB_PUB_REMOVE 197
#define IDB_PUB_ADD 198
#define IDB_PUB_START 199              // 5 frames of 138 x 43
#define IDB_PUB_CLOSE 200              // 5 frames of 94 x 29
#define IDB_REC_COMBO_ARROW 201        // combo box arrow, 3 cells of 16 x 27
#define IDB_REC_DISC_METER 217         // publish size meter, 4 rows of 679 x 7
#define IDB_REC_LEVEL_ACTIVE 219       // input-level slider, active channel, 29 x 203
#define IDB_REC_LEVEL_CHANNEL 220      // input-level slider channel, 29 x 203
#define IDB_REC_VOLUME_CHANNEL 221     // volume slider channel, 157 x 29
#define IDB_REC_VOLUME_ACTIVE 222      // volume slider, active channel, 157 x 29
#define IDB_REC_VOLUME_THUMB 223       // volume slider thumb, 13 x 25, key colour at (0, 0)
#define IDB_REC_PUBLISH_PROGRESS 224   // publish progress, 2 rows of 641 x 26
#define IDB_REC_CHECK_MP3FILE 225      // check boxes, 6 frames of 20 x 20
#define IDB_REC_CHECK_AUDIOCD 226
#define IDB_REC_CHECK_MP3CD 227
#define IDB_PROGRESS_CANCEL 228       // progress dialogs: Cancel, 5 frames of 91 x 26
#define IDB_PROGRESS_BACK 229         // progress dialogs: background, 467 x 76
#define IDB_PROGRESS_BAR 230          // progress dialogs: bar, 341 x 26 (empty row, full row)
#define IDB_REC_GRAPH_LEFT 231         // level graph backgrounds, 334 x 217
#define IDB_REC_GRAPH_RIGHT 232

// Wizard skin ("SonelleWizSkin.dll").
#define IDB_WIZ_LIST_HEADER 171
