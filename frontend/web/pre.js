// Runs inside the game's module before main (linked with --pre-js by cmake/Web.cmake): the
// folder the browser keeps (IndexedDB through IDBFS) is mounted and read back, and a demo the
// page fetched for ?play= is put where --play reads it; a recording (?record=1) goes there too.
Module.preRun = Module.preRun || [];
Module.preRun.push(function () {
  if (typeof window !== "object") return;
  FS.mkdir("/kept");
  FS.mount(IDBFS, {}, "/kept");
  addRunDependency("hopla-kept");
  FS.syncfs(true, function (error) {
    if (error) console.error("hopla: the browser's kept settings cannot be read: " + error);
    removeRunDependency("hopla-kept");
  });
  FS.mkdir("/demos");  // --play and --record files, for this visit only
  if (Module.hoplaDemo) {
    FS.writeFile("/demos/" + Module.hoplaDemo.name, Module.hoplaDemo.text);
  }
});

// The kept folder (settings and records) to a file of the player's and back, from the menu's
// Export and Import rows: a JSON object of each file's path under /kept and its text. An import
// replaces those files, writes them back to IndexedDB and reloads the page, whose game then
// reads them as it starts.
Module.hoplaExportKept = function () {
  var files = {};
  (function walk(dir) {
    FS.readdir(dir).forEach(function (name) {
      if (name === "." || name === "..") return;
      var path = dir + "/" + name;
      if (FS.isDir(FS.stat(path).mode)) walk(path);
      else files[path.slice("/kept/".length)] = FS.readFile(path, { encoding: "utf8" });
    });
  })("/kept");
  var link = document.createElement("a");
  link.href = URL.createObjectURL(new Blob([JSON.stringify({ hopla: 1, files: files }, null, 1)],
                                           { type: "application/json" }));
  link.download = "hopla-records.json";
  link.click();
};
Module.hoplaImportKept = function () {
  var input = document.createElement("input");
  input.type = "file";
  input.accept = ".json,application/json";
  input.onchange = function () {
    if (!input.files.length) return;
    input.files[0].text().then(function (text) {
      var kept = JSON.parse(text);
      if (!kept || kept.hopla !== 1 || typeof kept.files !== "object") throw new Error("not Hopla's");
      Object.keys(kept.files).forEach(function (name) {
        if (!/^[A-Za-z0-9_-]+(\/[A-Za-z0-9._-]+)+$/.test(name) || typeof kept.files[name] !== "string")
          throw new Error("a file named " + JSON.stringify(name));
      });
      Object.keys(kept.files).forEach(function (name) {
        var parts = name.split("/"), dir = "/kept";
        parts.slice(0, -1).forEach(function (part) {
          dir += "/" + part;
          if (!FS.analyzePath(dir).exists) FS.mkdir(dir);
        });
        FS.writeFile("/kept/" + name, kept.files[name]);
      });
      FS.syncfs(false, function (error) {
        if (error) throw error;
        location.reload();
      });
    }).catch(function (error) {
      if (Module.hoplaSay) Module.hoplaSay("That file cannot be imported: " + error.message);
    });
  };
  input.click();
};
