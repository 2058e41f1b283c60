// The game's sound on the browser's audio thread: an AudioWorkletProcessor that plays the blocks
// the page sends through its port (one Float32Array per channel, mixed by the game,
// frontend/web/AudioOutput.cpp) and asks for more whenever less than LEAD frames are on their
// way. It plays silence before "start", after "stop" and when a block comes late. Each ask
// carries what it has heard so far: blocks, blocks with sound in them, and quanta played short.
"use strict";
const LEAD = 2048;  // frames kept ahead: about 46 ms at 44.1 kHz
const LEAST = 512;  // the smallest block asked for

class HoplaSound extends AudioWorkletProcessor {
  constructor() {
    super();
    this.blocks = [];  // queued, the first played from `at`
    this.at = 0;
    this.queued = 0;   // frames queued
    this.asked = 0;    // frames asked for and not come yet
    this.running = false;
    this.heard = { blocks: 0, loud: 0, short: 0 };
    this.port.onmessage = (event) => {
      if (typeof event.data === "string") {  // "start" or "stop"
        this.running = event.data === "start";
        this.blocks = [];
        this.at = this.queued = this.asked = 0;
        return;
      }
      const block = event.data;
      this.asked = Math.max(this.asked - block[0].length, 0);
      if (!this.running) return;
      this.blocks.push(block);
      this.queued += block[0].length;
      this.heard.blocks++;
      if (block.some((channel) => channel.some((sample) => sample !== 0))) this.heard.loud++;
    };
  }

  process(inputs, outputs) {
    const out = outputs[0];
    const frames = out[0].length;
    let done = 0;
    while (done < frames && this.blocks.length) {
      const block = this.blocks[0];
      const n = Math.min(frames - done, block[0].length - this.at);
      for (let c = 0; c < out.length; c++)
        out[c].set(block[Math.min(c, block.length - 1)].subarray(this.at, this.at + n), done);
      done += n;
      this.at += n;
      this.queued -= n;
      if (this.at === block[0].length) {
        this.blocks.shift();
        this.at = 0;
      }
    }
    for (const channel of out) channel.fill(0, done);
    if (this.running) {
      if (done < frames && this.heard.blocks) this.heard.short++;
      const want = LEAD - this.queued - this.asked;
      if (want >= LEAST) {
        this.asked += want;
        this.port.postMessage({ need: want, heard: this.heard });
      }
    }
    return true;
  }
}

registerProcessor("hopla-sound", HoplaSound);
