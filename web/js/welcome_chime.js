// A short two-note chime when a guest comes in, drawn with the Web Audio API
// so that the page needs no sound files.

const NOTES = [
  { hz: 659.25, at: 0 },
  { hz: 880.0, at: 0.22 },
];
const NOTE_SECONDS = 1.1;

export class CWelcomeChime {
  constructor() {
    this.m_context = null;
    this.m_played = 0;
  }

  play() {
    this.m_context ??= new AudioContext();
    const context = this.m_context;
    context.resume().catch(() => {});
    const start = context.currentTime + 0.02;
    for (const note of NOTES) {
      playNote(context, note.hz, start + note.at);
    }
    // Tests and the operator can see that it rang even without speakers.
    this.m_played += 1;
    document.body.dataset.chimes = String(this.m_played);
  }
}

function playNote(context, hz, at) {
  const oscillator = context.createOscillator();
  const gain = context.createGain();
  oscillator.type = 'sine';
  oscillator.frequency.value = hz;
  gain.gain.setValueAtTime(0.0001, at);
  gain.gain.exponentialRampToValueAtTime(0.35, at + 0.02);
  gain.gain.exponentialRampToValueAtTime(0.0001, at + NOTE_SECONDS);
  oscillator.connect(gain).connect(context.destination);
  oscillator.start(at);
  oscillator.stop(at + NOTE_SECONDS + 0.05);
}
