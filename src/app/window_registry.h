#pragma once

class MainFrm;

// Makes every window this build has reachable from the main window's menus.
void registerWindows(MainFrm& main);
