"use strict";
// SPDX-License-Identifier: GPL-3.0-or-later
// A page cut short never reaches the player's script: say so instead of showing nothing.
document.addEventListener("DOMContentLoaded", function () {
  if (!window.lumettaPlayerLoaded)
    document.getElementById("damaged").hidden = false;
});
