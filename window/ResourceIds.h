// Resource ids shared by the resource script and the code.
#pragma once

// The program file's icon: Explorer shows the lowest-numbered icon group.
#define IDI_PROGRAM 1
// Form1's own icon, in its title bar and system menu.
#define IDI_FORM1 2

// The banner pictures (JPEG data, type RT_RCDATA).
#define IDP_IMAGE1 101
#define IDP_IMAGE2 102
#define IDP_IMAGE3 103
#define IDP_IMAGE4 104
