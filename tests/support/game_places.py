"""The game's screen and its controls, in display pixels, for the tests that
tap a running program from outside (the browser page, the Windows program
under Wine), as the headless tests' table has them."""

WIDTH, HEIGHT = 240, 320
TITLE = (120, 150)
MENU = (25, 25)
EXIT = (226, 14)
HOUR_FORWARD = (30, 190)
HOUR_BACK = (30, 215)
MINUTE_FORWARD = (210, 190)
CHECK = (120, 245)
AUTO_BOX = (35, 45)
OK_BUTTON = (80, 255)
