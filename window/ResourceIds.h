// Resource ids shared by the resource script and the code.
#pragma once

// The program file's icon: Explorer shows the lowest-numbered icon group.
#define IDI_PROGRAM 1
// Form1's own icon, in its title bar and system menu.
#define IDI_FORM1 2

// The banner pictures (JPEG data, type RT_RCDATA): the plain scene, the scene
// with the display name ringed, and the scene with the icon ringed.
#define IDP_BANNER_PLAIN 101
#define IDP_BANNER_NAME 102
#define IDP_BANNER_ICON 103
// Each banner picture is also drawn for 200 % display scaling, under its own
// id plus this.
#define IDP_DRAWN_FOR_200 100
