// Ids of the program's own icon resources and of its SVG documents stored as
// "SKIN" resources; shared by the resource script and the icon cache, so they
// are plain macros.
#pragma once

#define PEXO_ICON_PROGRAM 128
#define PEXO_ICON_ADMIN_TOOLS 203
#define PEXO_ICON_ERROR 204
#define PEXO_ICON_MONITOR_OFF 205
#define PEXO_ICON_URL 206
#define PEXO_ICON_STORE_APP 207
#define PEXO_SVG_SHUTDOWN 208
#define PEXO_SVG_RESTART 209
#define PEXO_ICON_SYSTEM 210
#define PEXO_SVG_MUTE 211
#define PEXO_SVG_VOLUME_DOWN 212
#define PEXO_SVG_VOLUME_UP 213
#define PEXO_SVG_LOCK 214
#define PEXO_SVG_SLEEP 215
