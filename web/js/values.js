// The kiosk's argument texts: several values joined with "||".

export const SEPARATOR = '||';

// Keeps empty values, so a room line with an empty class name still has its
// values at their positions.
export function splitValues(text) {
  return text === '' ? [] : text.split(SEPARATOR);
}

export function joinValues(...values) {
  return values.map(String).join(SEPARATOR);
}
