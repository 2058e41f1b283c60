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
