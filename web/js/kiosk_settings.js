// What the kiosk allows now: payment types, sound, stay types and whether the
// kiosk is in service. The InitKiosk answer brings the first three at once;
// later calls change one each.

import { splitValues } from './values.js';

export class CKioskSettings {
  constructor() {
    this.reset();
  }

  reset() {
    this.payTypes = 'All';
    this.soundOn = true;
    this.saleTypes = 'All';
    this.inService = true;
  }

  // "Cash|Credit|All||sound||Rental|Sleep|All|None"
  applyInitAnswer(args) {
    const [payTypes, sound, saleTypes] = splitValues(args);
    this.setPayTypes(payTypes);
    this.setSound(sound);
    this.setSaleTypes(saleTypes);
  }

  setPayTypes(word) {
    this.payTypes = word ?? 'All';
  }

  setSound(decimal) {
    this.soundOn = Number.parseInt(decimal, 10) !== 0;
  }

  setSaleTypes(word) {
    this.saleTypes = word ?? 'All';
  }

  setInService(decimal) {
    this.inService = Number.parseInt(decimal, 10) !== 0;
  }

  get cashAllowed() {
    return this.payTypes !== 'Credit';
  }

  get cardAllowed() {
    return this.payTypes !== 'Cash';
  }

  get rentalAllowed() {
    return this.saleTypes === 'Rental' || this.saleTypes === 'All';
  }

  get sleepAllowed() {
    return this.saleTypes === 'Sleep' || this.saleTypes === 'All';
  }
}
