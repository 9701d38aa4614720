// The web addresses the editor writes into posts and opens. Plain text, no
// Windows headers, so that the text logic can use them on any platform.
#pragma once

// Scheme and host of the forum; post links and the smileys hosted on the
// forum start with it.
#define FORUM_BASE_URL "https://forum.example.org"

// The one smiley image that is hosted elsewhere (res/smileys/wave.png).
#define EXTRA_SMILEY_URL "https://smileys.example.net/wave.png"

// The address in the "Text highlighting by" credit line.
#define CREDIT_URL "https://forum-editor.example.org"

// Opened in the browser from the markup menu.
#define WEB_LINK_URL "https://forum-editor.example.org/help"
