"use strict";
// A page cut short never reaches the player's script: say so instead of showing nothing.
document.addEventListener("DOMContentLoaded", function () {
  if (!window.lumettaPlayerLoaded)
    document.getElementById("damaged").hidden = false;
});
